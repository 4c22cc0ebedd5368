#include "app/pages/HelpPages.h"

#include <utility>

#include "app/pages/HelpTexts.h"

namespace pages {

using namespace platform;

namespace {

constexpr Alignment kCentre = Alignment::Centre;
constexpr Alignment kLeft = Alignment::Left;

}  // namespace

HelpPage::HelpPage(Desktop& desktop, HelpPageDesign design)
    : Form(desktop, {.number = design.number, .backColour = rgb(192, 192, 255)}), design_(std::move(design)) {}

void HelpPage::build() {
    const ColourNumber barColour = rgb(128, 128, 255);
    add(Line1, "Line1", 0, LineDesign{design_.leftBar, 112, design_.leftBar, 912, barColour, 80});
    add(Line1, "Line1", 1, LineDesign{design_.rightBar, 112, design_.rightBar, 912, barColour, 80});
    for (const HelpText& t : design_.headings) {
        add(Label1, "Label1", t.index,
            LabelDesign{.bounds = t.bounds,
                        .caption = t.text,
                        .font = {"Palatino Linotype", t.points, true, true},
                        .foreColour = rgb(0, 0, 128),
                        .alignment = t.alignment});
    }
    for (const HelpText& t : design_.bodies) {
        add(Label2, "Label2", t.index,
            LabelDesign{.bounds = t.bounds,
                        .caption = t.text,
                        .font = {"Palatino Linotype", t.points},
                        .alignment = t.alignment});
    }
    add(Command1, "Command1", ButtonDesign{design_.backButton, "Назад", {"Palatino Linotype", 48}, rgb(255, 0, 0)})
        .Click = [this] { Command1_Click(); };
}

void HelpPage::Command1_Click() {
    hide();
    form(8).show();
}

Form11::Form11(Desktop& desktop)
    : HelpPage(desktop, {.number = 11,
                         .backButton = {856, 920, 393, 73},
                         .leftBar = 48,
                         .rightBar = 1232,
                         .headings = {{0, {288, 16, 777, 153}, 72, kCentre, "Начало игры"},
                                      {1, {280, 400, 777, 153}, 72, kCentre, "Заливка"}},
                         .bodies = {{0, {120, 168, 1041, 241}, 30, kCentre, kStartText},
                                    {1, {112, 544, 1041, 289}, 30, kCentre, kFillText}}}) {}

Form12::Form12(Desktop& desktop)
    : HelpPage(desktop, {.number = 12,
                         .backButton = {856, 912, 393, 73},
                         .headings = {{0, {104, 32, 1073, 153}, 48, kCentre, "Рисование круга и прямоугольника"},
                                      {1, {104, 416, 1073, 153}, 72, kCentre, "Рисование карандашом"}},
                         .bodies = {{0, {120, 160, 1041, 281}, 20.25, kLeft, kShapesText},
                                    {1, {112, 560, 1041, 329}, 30, kCentre, kPencilText}}}) {}

Form13::Form13(Desktop& desktop)
    : HelpPage(desktop, {.number = 13,
                         .backButton = {864, 936, 393, 73},
                         .headings = {{0, {112, 56, 1073, 153}, 48, kCentre, "Сохранение рисунков в галерею"},
                                      {1, {112, 440, 1073, 153}, 48, kCentre, "Создание собственного рисунка"}},
                         .bodies = {{0, {128, 184, 1041, 281}, 24, kLeft, kSavingText},
                                    {1, {120, 584, 1041, 329}, 30, kCentre, kOwnPictureText}}}) {}

Form14::Form14(Desktop& desktop)
    : HelpPage(desktop, {.number = 14,
                         .backButton = {856, 936, 393, 73},
                         .headings = {{0, {104, 56, 1073, 153}, 48, kCentre, "Просмотр галереи рисунков"},
                                      {1, {104, 440, 1073, 153}, 48, kCentre, "Печать рисунка"}},
                         .bodies = {{0, {120, 184, 1041, 281}, 24, kLeft, kGalleryText},
                                    {1, {112, 584, 1041, 329}, 30, kCentre, kPrintingText}}}) {}

Form15::Form15(Desktop& desktop)
    : HelpPage(desktop, {.number = 15,
                         .backButton = {856, 944, 393, 73},
                         .headings = {{0, {112, 40, 1073, 153}, 72, kCentre, "Сказки"}},
                         .bodies = {{1, {128, 168, 1041, 617}, 30, kLeft, kTalesText}}}) {}

Form16::Form16(Desktop& desktop)
    : HelpPage(desktop, {.number = 16,
                         .backButton = {856, 944, 393, 73},
                         .headings = {{0, {112, 136, 1073, 153}, 72, kCentre, "Мини-игры"}},
                         .bodies = {{1, {144, 336, 1041, 617}, 30, kLeft, kMiniGamesText}}}) {}

}  // namespace pages
