#pragma once
#include "platform/Form.h"

namespace tales {

// The tale chooser. It hands the chosen tale's number to the tale window
// through its hidden Label4 and stays loaded while the tale is read. It has no
// cancel button: a click on the main window behind it brings that forward.
class Form10 : public platform::Form {
public:
    explicit Form10(platform::Desktop& desktop);

    platform::Ctl<platform::Shape> Shape2{*this};                 // background panel
    platform::Ctl<platform::Line> Line1{*this};                   // the crown's base
    platform::CtlArray<platform::Line> Line2{*this};              // the crown's points, 0 … 5
    platform::Ctl<platform::Label> Label1{*this};                 // "Выбери сказку:"
    platform::Ctl<platform::Shape> Shape1{*this};                 // frame around the buttons
    platform::CtlArray<platform::CommandButton> Command1{*this};  // the five tales, 0 … 4
    platform::Ctl<platform::Shape> Shape3{*this};                 // decorations
    platform::Ctl<platform::Shape> Shape4{*this};
    platform::Ctl<platform::Label> Label4{*this};                 // tale number, invisible

protected:
    void build() override;

private:
    void Command1_Click(int index);
};

}  // namespace tales
