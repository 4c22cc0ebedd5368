#include "tales/Form10.h"

#include <string>

#include "tales/core/TaleCatalogue.h"

namespace tales {

using namespace platform;

Form10::Form10(Desktop& desktop)
    : Form(desktop, {.number = 10,
                     .clientWidth = 833,
                     .clientHeight = 555,
                     .placement = Placement::Centred,
                     .backColour = kWhite}) {}

void Form10::build() {
    const ColourNumber yellow = rgb(255, 255, 0);
    const ColourNumber red = rgb(255, 0, 0);
    add(Shape2, "Shape2", ShapeDesign{{0, 0, 833, 553}, ShapeKind::RoundedRectangle, yellow, rgb(192, 192, 255), 7});

    add(Line1, "Line1", LineDesign{264, 160, 576, 160, yellow, 10});
    const LineDesign crown[] = {
        {264, 160, 216, 48, red, 10}, {344, 88, 216, 48, red, 10},  {344, 88, 424, 8, red, 10},
        {496, 88, 424, 8, red, 10},   {496, 88, 632, 56, red, 10}, {576, 160, 632, 56, red, 10},
    };
    for (int index = 0; index < 6; ++index) add(Line2, "Line2", index, crown[index]);

    add(Label1, "Label1",
        LabelDesign{.bounds = {272, 96, 305, 73},
                    .caption = "Выбери сказку:",
                    .font = {"Palatino Linotype", 30, true},
                    .foreColour = red});
    add(Shape1, "Shape1", ShapeDesign{{32, 160, 785, 361}, ShapeKind::RoundedRectangle, std::nullopt, red, 10});

    // The catalogue lists the tales in the buttons' order, top to bottom.
    const auto tales = core::allTales();
    for (int index = 0; index < static_cast<int>(tales.size()); ++index) {
        const std::string caption(tales[static_cast<std::size_t>(index)].caption);
        add(Command1, "Command1", index,
            ButtonDesign{{48, 184 + 64 * index, 753, 57}, caption, {"Palatino Linotype", 23.25}, yellow})
            .Click = [this, index] { Command1_Click(index); };
    }

    add(Shape3, "Shape3", ShapeDesign{{768, 0, 49, 33}, ShapeKind::Rectangle, rgb(128, 64, 0), rgb(128, 64, 0)});
    add(Shape4, "Shape4", ShapeDesign{{824, 0, 9, 57}, ShapeKind::Rectangle, rgb(128, 64, 64), rgb(128, 64, 64)});
    add(Label4, "Label4", LabelDesign{.bounds = {0, 0, 273, 49}, .caption = "3", .visible = false});
}

// The tale window reads the number back from Label4 while it loads, so the
// number is written before the window is shown.
void Form10::Command1_Click(int index) {
    hide();
    form(1).hide();
    Label4->setCaption(std::to_string(index + 1));
    form(17).show();
}

}  // namespace tales
