#include "games/Form3.h"

namespace games {

using namespace platform;

Form3::Form3(Desktop& desktop)
    : Form(desktop, {.number = 3,
                     .title = "Реши пример, чтобы убрать это окошко",
                     .frame = Frame::TitleBar,
                     .clientWidth = 776,
                     .clientHeight = 407,
                     .placement = Placement::Centred,
                     .backColour = rgb(255, 192, 255)}) {}

void Form3::build() {
    add(Command2, "Command2", ButtonDesign{twips(1920, 4920, 7455, 855), "Проверить", {"MS Sans Serif", 24}, rgb(255, 255, 0)});
}

void Form3::returnToMainWindow() {
    unload();
    form(1).show();
}

}  // namespace games
