#include "games/Form2.h"

#include "games/core/GameTexts.h"
#include "games/core/MagicSquare.h"

namespace games {

using namespace platform;

Form2::Form2(Desktop& desktop)
    : Form(desktop, {.number = 2,
                     .title = std::string(texts::kSquareTitle),
                     .frame = Frame::TitleBar,
                     .clientWidth = 513,
                     .clientHeight = 630,
                     .placement = Placement::ClientAt,
                     .x = 691,
                     .y = 396,
                     .backColour = kWhite}) {}

void Form2::build() {
    add(Label1, "Label1",
        LabelDesign{.bounds = twips(240, 240, 7215, 1335),
                    .caption = std::string(texts::kSquareInstruction),
                    .font = {"MS Sans Serif", 18},
                    .alignment = Alignment::Centre});

    // Seven bands of colour around the grid: each shape is 120 twips larger on
    // every side than the one inside it, and the smaller lies on top.
    struct Band {
        Ctl<Shape>* slot;
        const char* name;
        ColourNumber colour;
    };
    const Band bands[] = {
        {&Shape7, "Shape7", rgb(255, 0, 255)}, {&Shape6, "Shape6", rgb(0, 0, 255)},
        {&Shape5, "Shape5", rgb(0, 255, 255)}, {&Shape4, "Shape4", rgb(0, 255, 0)},
        {&Shape3, "Shape3", rgb(255, 255, 0)}, {&Shape2, "Shape2", rgb(255, 128, 0)},
        {&Shape1, "Shape1", rgb(255, 0, 0)},
    };
    for (std::size_t i = 0; i < std::size(bands); ++i) {
        const Band& band = bands[i];
        const int margin = 120 * static_cast<int>(std::size(bands) - 1 - i);
        add(*band.slot, band.name,
            ShapeDesign{.bounds = twips(840 - margin, 2400 - margin, 6015 + 2 * margin, 5295 + 2 * margin),
                        .fillColour = band.colour,
                        .borderWidth = 0});
    }

    const Font cellFont{"Lucida Console", 72};
    for (int i = 0; i < 9; ++i) {
        const int left = 960 + 1920 * (i % 3);
        const int top = 2520 + 1680 * (i / 3);
        add(*cells[static_cast<std::size_t>(i)], "Text" + std::to_string(i + 1),
            TextBoxDesign{.bounds = twips(left, top, 1935, 1695),
                          .font = cellFont,
                          .alignment = Alignment::Centre,
                          .tabIndex = i + 1});
    }

    add(Command1, "Command1",
        ButtonDesign{.bounds = twips(120, 8520, 7455, 855),
                     .caption = std::string(texts::kCheck),
                     .font = {"MS Sans Serif", 24},
                     .backColour = rgb(255, 255, 0),
                     .tabIndex = 10})
        .Click = [this] { Command1_Click(); };
}

void Form2::Command1_Click() {
    std::array<std::string, 9> texts;
    for (std::size_t i = 0; i < cells.size(); ++i) texts[i] = (*cells[i])->text();
    const SquareCheck check = checkSquare(texts);
    for (const std::string_view text : check.messages) {
        message(text);
        if (!loaded()) return;  // the window went away while the message was up
    }
    if (check.verdict == SquareVerdict::Solved) returnToMainWindow();
}

void Form2::returnToMainWindow() { backToMainWindow(Leave::Hide); }

}  // namespace games
