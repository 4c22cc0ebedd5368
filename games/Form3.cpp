#include "games/Form3.h"

#include "games/core/Example.h"
#include "games/core/GameTexts.h"

namespace games {

using namespace platform;

Form3::Form3(Desktop& desktop)
    : Form(desktop, {.number = 3,
                     .title = std::string(texts::kExampleTitle),
                     .frame = Frame::TitleBar,
                     .clientWidth = 776,
                     .clientHeight = 407,
                     .placement = Placement::Centred,
                     .backColour = rgb(255, 192, 255)}) {}

void Form3::build() {
    const Font font{"Monotype Corsiva", 150, false, true};
    add(Label1, "Label1", LabelDesign{.bounds = twips(480, 1080, 2055, 3855), .caption = "3", .font = font});
    add(Label2, "Label2", LabelDesign{.bounds = twips(2160, 1080, 2055, 3855), .caption = "+", .font = font});
    add(Label3, "Label3", LabelDesign{.bounds = twips(4320, 1080, 2055, 3855), .caption = "3", .font = font});
    add(Label4, "Label4", LabelDesign{.bounds = twips(6240, 960, 2055, 3855), .caption = "=", .font = font});
    add(Text1, "Text1",
        TextBoxDesign{
            .bounds = twips(8160, 960, 3135, 3840), .font = font, .alignment = Alignment::Centre, .tabIndex = 5});
    // First in tab order: the child clicks into the answer box to type.
    add(Command2, "Command2",
        ButtonDesign{.bounds = twips(1920, 4920, 7455, 855),
                     .caption = std::string(texts::kCheck),
                     .font = {"MS Sans Serif", 24},
                     .backColour = rgb(255, 255, 0),
                     .tabIndex = 0})
        .Click = [this] { Command2_Click(); };
}

void Form3::Form_Load() {
    RandomService& random = services().random;
    random.seedFromClock();
    Label1->setCaption(drawOperand(random));
    Label3->setCaption(drawOperand(random));
}

void Form3::Command2_Click() {
    switch (checkAnswer(Text1->text(), Label1->caption(), Label3->caption())) {
        case AnswerCheck::Ignore:
            return;
        case AnswerCheck::Wrong:
            message(texts::kAnswerWrong);
            return;
        case AnswerCheck::Right:
            message(texts::kAnswerRight);
            if (loaded()) returnToMainWindow();  // unless the window went away while the message was up
            return;
    }
}

void Form3::returnToMainWindow() { backToMainWindow(Leave::Unload); }

}  // namespace games
