#pragma once
#include "games/core/Trainer.h"
#include "platform/Form.h"

namespace games {

// The keyboard trainer: falling letters, sent back up by typing them.
class Form4 : public platform::Form {
public:
    explicit Form4(platform::Desktop& desktop);

    platform::Ctl<platform::TextBox> Text1{*this};  // where the keys land
    platform::Ctl<platform::Line> Line1{*this};
    platform::CtlArray<platform::Label> Label1{*this};  // the falling letters, 1 to 5
    platform::Ctl<platform::Shape> Shape1{*this};       // the score bar
    platform::Ctl<platform::Shape> Shape3{*this};       // the bar's column
    platform::Ctl<platform::Timer> Timer1{*this};       // game tick
    platform::Ctl<platform::Timer> Timer2{*this};       // seconds

    // The game as the rules keep it; the controls only show it.
    const trainer::State& state() const { return state_; }

protected:
    void build() override;
    void Form_Load() override;
    // The close box leaves as a passed exercise does, so the main window comes back.
    void closeBoxPressed() override { returnToMainWindow(); }

private:
    void Timer1_Timer();
    void Timer2_Timer();
    void draw();
    // The trainer is unloaded: the next exercise loads afresh.
    void returnToMainWindow();

    trainer::State state_ = trainer::start();
};

}  // namespace games
