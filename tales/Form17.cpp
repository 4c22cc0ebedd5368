#include "tales/Form17.h"

#include "app/common/ResolutionGate.h"

namespace tales {

using namespace platform;

Form17::Form17(Desktop& desktop) : Form(desktop, {.number = 17, .backColour = rgb(0, 255, 255)}) {}

void Form17::build() {
    add(Command2, "Command2", ButtonDesign{{1096, 864, 113, 57}, ">>", {"MS Sans Serif", 24}, rgb(128, 128, 255)});
    add(Command1, "Command1",
        ButtonDesign{{888, 960, 281, 40}, "Выход", {"Palatino Linotype", 23.25, false, true}, rgb(255, 0, 0)})
        .Click = [this] { Command1_Click(); };
}

void Form17::Form_Load() { app::passResolutionGate(services()); }

void Form17::Command1_Click() { closeTale(); }

void Form17::closeTale() {
    unload();
    form(1).show();
}

}  // namespace tales
