#include "pictures/Form1.h"

#include "app/common/ResolutionGate.h"
#include "app/common/Sounds.h"

namespace pictures {

using namespace platform;

Form1::Form1(Desktop& desktop) : Form(desktop, {.number = 1, .backColour = rgb(0, 255, 255)}) {}

void Form1::build() {
    add(Shape6, "Shape6",
        ShapeDesign{twips(120, 120, 18855, 15135), ShapeKind::RoundedRectangle, rgb(192, 255, 255), kBlack, 2});
    add(Shape2, "Shape2",
        ShapeDesign{twips(11880, 12240, 6975, 1095), ShapeKind::RoundedRectangle, rgb(255, 255, 192), kBlack, 2});
    canvas.build();

    const Font commandFont{"MS Sans Serif", 9.75, true};
    const ColourNumber light = rgb(128, 255, 255);
    auto command = [&](Ctl<CommandButton>& slot, const char* name, int top, const char* caption, ColourNumber colour) -> CommandButton& {
        return add(slot, name, ButtonDesign{twips(17160, top, 1575, 1300), caption, commandFont, colour});
    };
    command(Command1, "Command1", 1320, "очистка рисунка", rgb(0, 255, 255)).setEnabled(false);
    command(Command3, "Command3", 2640, "сохранить в галерею рисунков", light);
    command(Command4, "Command4", 3960, "галерея рисунков", light).Click = [this] { Command4_Click(); };
    command(Command6, "Command6", 5280, "печать рисунка", light);
    command(Command5, "Command5", 6600, "создать свой рисунок", light);
    command(Command7, "Command7", 7920, " напечатать сказку", light).Click = [this] { Command7_Click(); };
    command(Command9, "Command9", 9240, "переменка", light).Click = [this] { Command9_Click(); };
    add(Command8, "Command8",
        ButtonDesign{twips(17160, 10680, 1575, 1455), "выход", {"MS Sans Serif", 12, true}, rgb(255, 255, 0)})
        .Click = [this] { Command8_Click(); };
    add(Command2, "Command2", ButtonDesign{twips(17040, 12360, 1695, 855), ">>", {"MS Sans Serif", 24}, rgb(128, 128, 255)})
        .Click = [this] { Command2_Click(); };
    add(Command12, "Command12",
        ButtonDesign{twips(11880, 13440, 7095, 1815), "", {"Palatino Linotype", 36, false, true, true}, rgb(255, 255, 128)});

    add(Label2, "Label2",
        LabelDesign{.bounds = twips(11880, 12360, 4935, 615),
                    .caption = "Нажмите кнопку -->>",
                    .font = {"Comic Sans MS", 18, true},
                    .foreColour = rgb(255, 0, 0),
                    .alignment = Alignment::Centre})
        .MouseDown = [this](const MouseArgs&) { Label2_MouseDown(); };
    add(Label3, "Label3", LabelDesign{.bounds = twips(9480, 480, 615, 255), .caption = "Label3", .visible = false});
    add(Label4, "Label4",
        LabelDesign{.bounds = twips(240, -75, 2535, 375), .caption = "пятнушки", .font = {"Palatino Linotype", 8.25, true}});
    add(Timer3, "Timer3", TimerDesign{600, true}).Tick = [this] { Timer3_Timer(); };
}

void Form1::Form_Load() {
    app::passResolutionGate(services());
    services().random.seedFromClock();
    canvas.setUp();
    PictureNumber = 0;
    musicTicks_ = 0;
    services().multimedia.execute(app::sounds::kPlayMusic);
}

void Form1::Form_MouseDown(const MouseArgs&) {
    if (const auto colour = canvas.elementColour()) setBackColour(*colour);
}

void Form1::Label2_MouseDown() {
    if (const auto colour = canvas.elementColour()) Label2->setForeColour(*colour);
}

void Form1::click() const { services().multimedia.execute(app::sounds::kClick); }

void Form1::Command2_Click() {
    click();
    Command1->setEnabled(true);
    PictureNumber = services().random.below(38) + 1;
    // The last three numbers are surprises: a small game instead of a picture.
    if (PictureNumber >= 36) {
        hide();
        form(PictureNumber - 34).show();  // 36 -> Form2, 37 -> Form3, 38 -> Form4
    }
}

void Form1::Command4_Click() {
    click();
    form(6).show();
}

void Form1::Command7_Click() {
    click();
    form(10).show();
}

void Form1::Command8_Click() {
    endProgram();
    services().multimedia.execute(app::sounds::kCloseMusic);
}

void Form1::Command9_Click() {
    click();
    hide();
    form(9).show();
}

// Resends the music every fifth tick, so it starts again once it has ended.
void Form1::Timer3_Timer() {
    if (musicTicks_ == 5) {
        musicTicks_ = 0;
        services().multimedia.execute(app::sounds::kPlayMusic);
    }
    ++musicTicks_;
}

}  // namespace pictures
