#pragma once
#include "platform/Form.h"

namespace pages {

// The about page.
class Form7 : public platform::Form {
public:
    explicit Form7(platform::Desktop& desktop);

    platform::Ctl<platform::CommandButton> Command1{*this};  // "Назад"

protected:
    void build() override;

private:
    void Command1_Click();
};

}  // namespace pages
