#include "tales/Form17.h"

#include "app/common/ResolutionGate.h"

namespace tales {

using namespace platform;

Form17::Form17(Desktop& desktop) : Form(desktop, {.number = 17, .backColour = rgb(0, 255, 255)}) {}

void Form17::build() {
    const ColourNumber panel = rgb(192, 255, 255);
    add(Shape7, "Shape7", ShapeDesign{{8, 8, 1257, 1009}, ShapeKind::RoundedRectangle, panel, kBlack, 2});
    add(Shape3, "Shape3", ShapeDesign{{8, 840, 785, 177}, ShapeKind::RoundedRectangle, kWhite, kBlack, 3});
    add(Shape2, "Shape2", ShapeDesign{{888, 856, 329, 73}, ShapeKind::RoundedRectangle, rgb(255, 255, 192), kBlack, 2});
    canvas.build();
    add(Label5, "Label5",
        LabelDesign{.bounds = {8, 8, 785, 81},
                    .font = {"Palatino Linotype", 36, false, true},
                    .backColour = kWhite,
                    .alignment = Alignment::Centre,
                    .border = true});
    add(Label1, "Label1",
        LabelDesign{.bounds = {16, 848, 769, 153}, .caption = "466547457 ", .font = {"Palatino Linotype", 14.25, false, true}})
        .MouseDown = [this](const MouseArgs&) { canvas.colourText(*Label1); };
    add(Label2, "Label2",
        LabelDesign{.bounds = {920, 864, 145, 57},
                    .caption = "Дальше",
                    .font = {"Palatino Linotype", 30, false, true},
                    .alignment = Alignment::Right})
        .MouseDown = [this](const MouseArgs&) { canvas.colourText(*Label2); };
    add(Label6, "Label6", LabelDesign{.bounds = {16, -5, 169, 25}, .caption = "пятнушки", .font = {"Palatino Linotype", 8.25, true}});
    add(Command2, "Command2", ButtonDesign{{1096, 864, 113, 57}, ">>", {"MS Sans Serif", 24}, rgb(128, 128, 255)});
    add(Command1, "Command1",
        ButtonDesign{{888, 960, 281, 40}, "Выход", {"Palatino Linotype", 23.25, false, true}, rgb(255, 0, 0)})
        .Click = [this] { Command1_Click(); };
}

void Form17::Form_Load() {
    app::passResolutionGate(services());
    canvas.setUp();
}

void Form17::Form_MouseDown(const MouseArgs&) { canvas.colourWindowBackground(); }

void Form17::Command1_Click() { closeTale(); }

void Form17::closeTale() {
    unload();
    form(1).show();
}

}  // namespace tales
