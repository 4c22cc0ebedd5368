#pragma once
#include <array>

#include "platform/Form.h"

namespace games {

// The magic-square puzzle.
class Form2 : public platform::Form {
public:
    explicit Form2(platform::Desktop& desktop);

    platform::Ctl<platform::Label> Label1{*this};  // the instruction
    platform::Ctl<platform::TextBox> Text1{*this}, Text2{*this}, Text3{*this};
    platform::Ctl<platform::TextBox> Text4{*this}, Text5{*this}, Text6{*this};
    platform::Ctl<platform::TextBox> Text7{*this}, Text8{*this}, Text9{*this};
    platform::Ctl<platform::CommandButton> Command1{*this};  // "Проверить"
    // The coloured frame, Shape1 the innermost.
    platform::Ctl<platform::Shape> Shape1{*this}, Shape2{*this}, Shape3{*this}, Shape4{*this};
    platform::Ctl<platform::Shape> Shape5{*this}, Shape6{*this}, Shape7{*this};

    // The cells row by row.
    const std::array<platform::Ctl<platform::TextBox>*, 9> cells{&Text1, &Text2, &Text3, &Text4, &Text5,
                                                                 &Text6, &Text7, &Text8, &Text9};

protected:
    void build() override;
    // The close box leaves as a solved square does, so the main window comes back.
    void closeBoxPressed() override { returnToMainWindow(); }

private:
    void Command1_Click();
    // The square is only hidden: it comes back as it was left.
    void returnToMainWindow();
};

}  // namespace games
