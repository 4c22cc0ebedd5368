#pragma once
#include <optional>

#include "canvas/core/Snapshot.h"
#include "platform/Form.h"

namespace pictures {

class Form1;

// The gallery window: the saved pictures by title, with a preview; a picture can
// be taken back to the main canvas to go on colouring it.
class Form6 : public platform::Form {
public:
    Form6(platform::Desktop& desktop, Form1& main);

    platform::Ctl<platform::ListBox> List1{*this};
    platform::Ctl<platform::PictureBox> Picture1{*this};      // preview
    platform::Ctl<platform::CommandButton> Command1{*this};   // "Выход"
    platform::Ctl<platform::CommandButton> Command2{*this};   // "Редактировать"
    platform::Ctl<platform::Shape> Shape3{*this};              // progress bar

protected:
    void build() override;
    void Form_Load() override;

private:
    void List1_Click();
    void Command1_Click();
    void Command2_Click();

    Form1& main_;
    canvas::Snapshot EditCopy{900, 1200};
    // The slot whose picture the preview shows; none until one was read whole.
    std::optional<int> previewSlot_;
};

}  // namespace pictures
