#include "app/pages/Form5.h"

#include "app/common/ResolutionGate.h"

namespace pages {

using namespace platform;

Form5::Form5(Desktop& desktop)
    : Form(desktop, {.number = 5,
                     .title = "Добро пожаловать",
                     .frame = Frame::TitleBar,
                     .clientWidth = 1143,
                     .clientHeight = 768,
                     .placement = Placement::Centred,
                     .backColour = rgb(0, 0, 255)}) {}

void Form5::build() {
    const Font palatino{"Palatino Linotype", 23.25, true, true};
    add(Command1, "Command1", ButtonDesign{{976, 544, 161, 49}, "В игру !!!", palatino, rgb(255, 255, 128)}).Click = [this] {
        Command1_Click();
    };
    add(Command3, "Command3", ButtonDesign{{976, 592, 161, 57}, "Об игре", palatino, rgb(255, 255, 0)}).Click = [this] {
        Command3_Click();
    };
    add(Command4, "Command4",
        ButtonDesign{{976, 640, 161, 49}, "Инструкции", {"Palatino Linotype", 12, true, true}, rgb(192, 192, 0)})
        .Click = [this] { Command4_Click(); };
    add(Command2, "Command2", ButtonDesign{{976, 704, 161, 41}, "Выход", {"MS Sans Serif", 13.5, true}, rgb(255, 0, 0)})
        .Click = [this] { Command2_Click(); };
}

void Form5::Form_Load() {
    rayPhase_ = 0;
    app::passResolutionGate(services());
}

void Form5::Command1_Click() {
    hide();
    form(1).show();
}

void Form5::Command2_Click() { endProgram(); }

void Form5::Command3_Click() {
    hide();
    form(7).show();
}

void Form5::Command4_Click() { form(8).show(); }

}  // namespace pages
