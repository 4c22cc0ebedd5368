#include "games/Form2.h"

namespace games {

using namespace platform;

Form2::Form2(Desktop& desktop)
    : Form(desktop, {.number = 2,
                     .title = "Загадка",
                     .frame = Frame::TitleBar,
                     .clientWidth = 513,
                     .clientHeight = 630,
                     .placement = Placement::ClientAt,
                     .x = 691,
                     .y = 396,
                     .backColour = kWhite}) {}

void Form2::build() {
    add(Command1, "Command1", ButtonDesign{twips(120, 8520, 7455, 855), "Проверить", {"MS Sans Serif", 24}, rgb(255, 255, 0)});
}

void Form2::returnToMainWindow() {
    hide();
    form(1).show();
}

}  // namespace games
