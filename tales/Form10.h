#pragma once
#include "platform/Form.h"

namespace tales {

// The tale chooser. It hands the chosen tale's number to the tale window
// through its hidden Label4 and stays loaded while the tale is read.
class Form10 : public platform::Form {
public:
    explicit Form10(platform::Desktop& desktop);

    platform::CtlArray<platform::CommandButton> Command1{*this};  // the five tales
    platform::Ctl<platform::Label> Label4{*this};                 // tale number, invisible

protected:
    void build() override;

private:
    void Command1_Click(int index);
};

}  // namespace tales
