#pragma once
#include "platform/Form.h"

namespace pages {

// The instructions menu: one button for each help page.
class Form8 : public platform::Form {
public:
    explicit Form8(platform::Desktop& desktop);

    platform::Ctl<platform::Label> Label1{*this};     // "Инструкции"
    platform::Ctl<platform::Label> Label2{*this};     // ornaments on either side of the title
    platform::CtlArray<platform::Line> Line1{*this};  // the side bars
    platform::Ctl<platform::CommandButton> Command1{*this};
    platform::Ctl<platform::CommandButton> Command2{*this};
    platform::Ctl<platform::CommandButton> Command3{*this};
    platform::Ctl<platform::CommandButton> Command4{*this};
    platform::Ctl<platform::CommandButton> Command5{*this};
    platform::Ctl<platform::CommandButton> Command6{*this};
    platform::Ctl<platform::CommandButton> Command7{*this};  // "Назад"

protected:
    void build() override;

private:
    void showHelpPage(int number);
    void Command7_Click();
};

}  // namespace pages
