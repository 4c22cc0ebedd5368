#pragma once
#include "platform/Form.h"

namespace pages {

// The welcome window, the program's start window.
class Form5 : public platform::Form {
public:
    explicit Form5(platform::Desktop& desktop);

    platform::Ctl<platform::CommandButton> Command1{*this};  // "В игру !!!"
    platform::Ctl<platform::CommandButton> Command2{*this};  // "Выход"
    platform::Ctl<platform::CommandButton> Command3{*this};  // "Об игре"
    platform::Ctl<platform::CommandButton> Command4{*this};  // "Инструкции"

    int rayPhase() const { return rayPhase_; }

protected:
    void build() override;
    void Form_Load() override;
    // Closing the start window ends the program rather than leaving it running unseen.
    void closeBoxPressed() override { endProgram(); }

private:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

    int rayPhase_ = 0;
};

}  // namespace pages
