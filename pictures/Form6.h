#pragma once
#include "platform/Form.h"

namespace pictures {

// The gallery window: the saved pictures by title, with a preview.
class Form6 : public platform::Form {
public:
    explicit Form6(platform::Desktop& desktop);

    platform::Ctl<platform::ListBox> List1{*this};
    platform::Ctl<platform::PictureBox> Picture1{*this};      // preview
    platform::Ctl<platform::CommandButton> Command1{*this};   // "Выход"
    platform::Ctl<platform::CommandButton> Command2{*this};   // "Редактировать"

protected:
    void build() override;

private:
    void Command1_Click();
    void Command2_Click();
};

}  // namespace pictures
