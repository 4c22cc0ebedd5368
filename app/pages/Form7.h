#pragma once
#include "platform/Form.h"

namespace pages {

// The about page.
class Form7 : public platform::Form {
public:
    explicit Form7(platform::Desktop& desktop);

    platform::Ctl<platform::Label> Label1{*this};            // "Об игре"
    platform::Ctl<platform::Label> Label2{*this};            // ornaments on either side of the title
    platform::Ctl<platform::Label> Label4{*this};            // about the game
    platform::Ctl<platform::Label> Label3{*this};            // "Пятнушки", at the start of the about text
    platform::Ctl<platform::CommandButton> Command1{*this};  // "Назад"

protected:
    void build() override;

private:
    void Command1_Click();
};

}  // namespace pages
