#include "app/pages/Form8.h"

#include <string>

namespace pages {

using namespace platform;

Form8::Form8(Desktop& desktop) : Form(desktop, {.number = 8, .backColour = rgb(255, 255, 0)}) {}

void Form8::build() {
    const ColourNumber olive = rgb(128, 128, 0);
    add(Label1, "Label1",
        LabelDesign{.bounds = {376, 8, 601, 137},
                    .caption = "Инструкции",
                    .font = {"Palatino Linotype", 72},
                    .foreColour = olive});
    add(Label2, "Label2",
        LabelDesign{.bounds = {224, 24, 881, 113},
                    .caption = "d" + std::string(6, ' ') + "b",
                    .font = {"Wingdings 2", 80.25, true},
                    .foreColour = olive,
                    .alignment = Alignment::Centre});
    const ColourNumber barColour = rgb(192, 192, 0);
    add(Line1, "Line1", 0, LineDesign{56, 176, 56, 976, barColour, 80});
    add(Line1, "Line1", 1, LineDesign{1224, 64, 1224, 856, barColour, 80});

    struct Entry {
        Ctl<CommandButton>& slot;
        const char* name;
        int top;
        const char* caption;
        double points;
        int helpPage;
    };
    const Entry entries[] = {
        {Command1, "Command1", 160, "Начало игры и заливка", 48, 11},
        {Command2, "Command2", 272, "Рисование круга, прямоугольника и карандашом", 27.75, 12},
        {Command3, "Command3", 384, "Сохранение рисунков и создание своего собственного рисунка", 27.75, 13},
        {Command4, "Command4", 496, "Просмотр галереи и печать рисунков", 36, 14},
        {Command5, "Command5", 608, "Сказки", 72, 15},
        {Command6, "Command6", 728, "Мини-игры", 72, 16},
    };
    for (const Entry& e : entries) {
        const int page = e.helpPage;
        add(e.slot, e.name,
            ButtonDesign{{104, e.top, 1073, 102}, e.caption, {"Palatino Linotype", e.points}, rgb(192, 192, 255)})
            .Click = [this, page] { showHelpPage(page); };
    }
    add(Command7, "Command7", ButtonDesign{{632, 912, 633, 102}, "Назад", {"Palatino Linotype", 72}, rgb(255, 0, 0)})
        .Click = [this] { Command7_Click(); };
}

// Each help button shows its page first and then hides the menu.
void Form8::showHelpPage(int number) {
    form(number).show();
    hide();
}

void Form8::Command7_Click() {
    hide();
    form(5).show();
}

}  // namespace pages
