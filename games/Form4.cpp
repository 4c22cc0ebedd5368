#include "games/Form4.h"

#include "games/core/GameTexts.h"

namespace games {

using namespace platform;

Form4::Form4(Desktop& desktop)
    : Form(desktop, {.number = 4,
                     .title = std::string(texts::kTrainerTitle),
                     .frame = Frame::TitleBar,
                     .clientWidth = 799,
                     .clientHeight = 564,
                     .placement = Placement::Centred,
                     .backColour = rgb(128, 128, 0)}) {}

void Form4::build() {
    add(Text1, "Text1",
        TextBoxDesign{.bounds = twips(720, 1800, 2535, 4935), .font = {"Garamond", 200.25}, .tabIndex = 0});
    add(Line1, "Line1", LineDesign{twipsToPixels(3960), twipsToPixels(120), twipsToPixels(3960), twipsToPixels(8280)});

    const trainer::State design = trainer::start();
    for (int index = 1; index <= trainer::kLetters; ++index) {
        const trainer::Letter& letter = design.letters[static_cast<std::size_t>(index - 1)];
        add(Label1, "Label1", index,
            LabelDesign{.bounds = {twipsToPixels(letter.left), twipsToPixels(letter.top), 0, 0},
                        .caption = letter.text,
                        .font = {"Arial", 48},
                        .autoSize = true});
    }

    // The column first, so the bar stands on it.
    add(Shape3, "Shape3",
        ShapeDesign{
            .bounds = twips(trainer::kColumnLeft, trainer::kColumnTop, trainer::kColumnWidth, trainer::kColumnHeight),
            .fillColour = kWhite});
    add(Shape1, "Shape1",
        ShapeDesign{.bounds = twips(trainer::kBarLeft, trainer::kBarBottom - trainer::kStartHeight, trainer::kBarWidth,
                                    trainer::kStartHeight),
                    .fillColour = rgb(255, 0, 0)});

    add(Timer1, "Timer1", TimerDesign{trainer::kFirstInterval, true}).Tick = [this] { Timer1_Timer(); };
    add(Timer2, "Timer2", TimerDesign{trainer::kSecondInterval, true}).Tick = [this] { Timer2_Timer(); };
}

void Form4::Form_Load() {
    services().random.seedFromClock();
    state_ = trainer::start();
    draw();
}

void Form4::Timer1_Timer() {
    const trainer::Outcome outcome = trainer::tick(state_, Text1->text(), services().random);
    Timer1->setInterval(state_.interval);
    draw();
    Text1->setText("");
    if (outcome.result == trainer::Result::Playing) return;

    // Decided: no later tick may decide it again, also while the message is up.
    Timer1->setEnabled(false);
    Timer2->setEnabled(false);
    message(trainer::message(outcome));
    // Won or lost, the child goes back to the main window and its drawing.
    if (loaded()) returnToMainWindow();
}

void Form4::Timer2_Timer() { trainer::countSecond(state_); }

void Form4::draw() {
    for (int index = 1; index <= trainer::kLetters; ++index) {
        const trainer::Letter& letter = state_.letters[static_cast<std::size_t>(index - 1)];
        Label& label = Label1(index);
        if (label.caption() != letter.text) label.setCaption(letter.text);
        label.moveTo(twipsToPixels(letter.left), twipsToPixels(letter.top));
    }
    const trainer::Span bar = trainer::barInColumn(state_.barHeight);
    const int top = twipsToPixels(bar.top);
    Shape1->setBounds({twipsToPixels(trainer::kBarLeft), top, twipsToPixels(trainer::kBarWidth),
                       twipsToPixels(trainer::kBarBottom) - top});
}

void Form4::returnToMainWindow() { backToMainWindow(Leave::Unload); }

}  // namespace games
