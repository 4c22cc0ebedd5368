#include "games/Form4.h"

namespace games {

using namespace platform;

Form4::Form4(Desktop& desktop)
    : Form(desktop, {.number = 4,
                     .title = "Нажимай буквы на клавиатуре, которые есть слева",
                     .frame = Frame::TitleBar,
                     .clientWidth = 799,
                     .clientHeight = 564,
                     .placement = Placement::Centred,
                     .backColour = rgb(128, 128, 0)}) {}

void Form4::build() {}

void Form4::returnToMainWindow() {
    unload();
    form(1).show();
}

}  // namespace games
