#include "app/pages/Form7.h"

namespace pages {

using namespace platform;

Form7::Form7(Desktop& desktop) : Form(desktop, {.number = 7, .backColour = rgb(255, 255, 128)}) {}

void Form7::build() {
    add(Command1, "Command1", ButtonDesign{{1016, 920, 241, 81}, "Назад", {"Palatino Linotype", 30}}).Click = [this] {
        Command1_Click();
    };
}

void Form7::Command1_Click() {
    hide();
    form(5).show();
}

}  // namespace pages
