#include "pictures/Form6.h"

namespace pictures {

using namespace platform;

Form6::Form6(Desktop& desktop) : Form(desktop, {.number = 6}) {}

void Form6::build() {
    add(List1, "List1", ListBoxDesign{twips(0, 0, 6855, 13545), {"MS Sans Serif", 18}});
    add(Picture1, "Picture1", PictureDesign{twips(6960, 0, 12255, 15375), kWhite});
    add(Command2, "Command2",
        ButtonDesign{twips(120, 13560, 6735, 615), "Редактировать", {"MS Sans Serif", 24}, rgb(255, 255, 0)})
        .Click = [this] { Command2_Click(); };
    add(Command1, "Command1", ButtonDesign{twips(120, 14640, 6735, 615), "Выход", {"MS Sans Serif", 24}, rgb(255, 0, 0)})
        .Click = [this] { Command1_Click(); };
}

void Form6::Command1_Click() { unload(); }

void Form6::Command2_Click() {
    hide();
    form(1).show();
}

}  // namespace pictures
