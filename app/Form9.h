#pragma once
#include "platform/Form.h"

namespace app {

// The recess menu: the two games a child can pick, and the way back.
class Form9 : public platform::Form {
public:
    explicit Form9(platform::Desktop& desktop);

    platform::Ctl<platform::CommandButton> Command1{*this};  // "Примеры"
    platform::Ctl<platform::CommandButton> Command2{*this};  // "Клавиатурный тренажер"
    platform::Ctl<platform::CommandButton> Command3{*this};  // "Назад"

protected:
    void build() override;
    void closeBoxPressed() override { Command3_Click(); }

private:
    void openGame(int number);
    // Back to the main window, which "переменка" hid.
    void Command3_Click();
};

}  // namespace app
