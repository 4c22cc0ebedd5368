#include "app/pages/Form7.h"

#include <string>

#include "app/pages/HelpTexts.h"

namespace pages {

using namespace platform;

Form7::Form7(Desktop& desktop) : Form(desktop, {.number = 7, .backColour = rgb(255, 255, 128)}) {}

void Form7::build() {
    const ColourNumber blue = rgb(0, 0, 255);
    add(Label1, "Label1",
        LabelDesign{.bounds = {0, 120, 1281, 145},
                    .caption = "Об игре",
                    .font = {"Palatino Linotype", 72, true},
                    .foreColour = blue,
                    .alignment = Alignment::Centre});
    // The pair of ornaments all but fills its box in the face it was designed
    // in; centred, it frames the heading evenly in the face that stands in.
    add(Label2, "Label2",
        LabelDesign{.bounds = {304, 136, 657, 113},
                    .caption = "d" + std::string(4, ' ') + "b",
                    .font = {"Wingdings 2", 80.25, true},
                    .foreColour = blue,
                    .alignment = Alignment::Centre});
    // The name stands in the room the about text leaves at its start; labels
    // stack in creation order, so the text comes first and the name over it.
    add(Label4, "Label4",
        LabelDesign{.bounds = {40, 272, 1185, 617},
                    .caption = kAboutText,
                    .font = {"Monotype Corsiva", 35.25, false, true},
                    .foreColour = rgb(0, 0, 128)});
    add(Label3, "Label3",
        LabelDesign{.bounds = {88, 272, 489, 97},
                    .caption = "Пятнушки",
                    .font = {"Palatino Linotype", 30, true, false, true},
                    .foreColour = rgb(0, 0, 192)});
    add(Command1, "Command1", ButtonDesign{{1016, 920, 241, 81}, "Назад", {"Palatino Linotype", 30}}).Click = [this] {
        Command1_Click();
    };
}

void Form7::Command1_Click() {
    hide();
    form(5).show();
}

}  // namespace pages
