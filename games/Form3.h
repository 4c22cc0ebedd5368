#pragma once
#include "platform/Form.h"

namespace games {

// The arithmetic example: two digits drawn at load, added by the child.
class Form3 : public platform::Form {
public:
    explicit Form3(platform::Desktop& desktop);

    platform::Ctl<platform::Label> Label1{*this};            // first operand
    platform::Ctl<platform::Label> Label2{*this};            // "+"
    platform::Ctl<platform::Label> Label3{*this};            // second operand
    platform::Ctl<platform::Label> Label4{*this};            // "="
    platform::Ctl<platform::TextBox> Text1{*this};           // the answer
    platform::Ctl<platform::CommandButton> Command2{*this};  // "Проверить"

protected:
    void build() override;
    void Form_Load() override;
    // The close box leaves as a right answer does, so the main window comes back.
    void closeBoxPressed() override { returnToMainWindow(); }

private:
    void Command2_Click();
    // The example is unloaded: the next one loads afresh.
    void returnToMainWindow();
};

}  // namespace games
