#include "app/pages/HelpPages.h"

namespace pages {

using namespace platform;

HelpPage::HelpPage(Desktop& desktop, const HelpPageDesign& design)
    : Form(desktop, {.number = design.number, .backColour = rgb(192, 192, 255)}), design_(design) {}

void HelpPage::build() {
    add(Command1, "Command1", ButtonDesign{design_.backButton, "Назад", {"Palatino Linotype", 48}, rgb(255, 0, 0)})
        .Click = [this] { Command1_Click(); };
}

void HelpPage::Command1_Click() {
    hide();
    form(8).show();
}

}  // namespace pages
