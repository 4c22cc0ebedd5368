#include "app/Form9.h"

namespace app {

using namespace platform;

Form9::Form9(Desktop& desktop)
    : Form(desktop, {.number = 9,
                     .title = "Переменка",
                     .frame = Frame::TitleBar,
                     .clientWidth = 849,
                     .clientHeight = 382,
                     .placement = Placement::Centred}) {}

void Form9::build() {
    const Font font{"MS Sans Serif", 24, true};
    add(Command1, "Command1", ButtonDesign{{8, 8, 833, 97}, "Примеры", font, rgb(192, 192, 255)}).Click = [this] {
        openGame(3);
    };
    add(Command2, "Command2", ButtonDesign{{8, 112, 833, 97}, "Клавиатурный тренажер", font, rgb(255, 255, 0)}).Click =
        [this] { openGame(4); };
    add(Command3, "Command3", ButtonDesign{{8, 280, 833, 97}, "Назад", font, rgb(255, 0, 0)}).Click = [this] {
        Command3_Click();
    };
}

void Form9::openGame(int number) {
    hide();
    form(number).show();
}

void Form9::Command3_Click() { backToMainWindow(Leave::Hide); }

}  // namespace app
