#pragma once
#include "platform/Form.h"

namespace tales {

// The tale window: a tale page by page, with a canvas to illustrate each page.
class Form17 : public platform::Form {
public:
    explicit Form17(platform::Desktop& desktop);

    platform::Ctl<platform::CommandButton> Command1{*this};  // "Выход"
    platform::Ctl<platform::CommandButton> Command2{*this};  // ">>", the page button

protected:
    void build() override;
    void Form_Load() override;

private:
    void Command1_Click();
    // Leaves the tale for the main window, which shows its drawing as it was.
    void closeTale();
};

}  // namespace tales
