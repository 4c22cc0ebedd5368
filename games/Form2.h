#pragma once
#include "platform/Form.h"

namespace games {

// The magic-square puzzle.
class Form2 : public platform::Form {
public:
    explicit Form2(platform::Desktop& desktop);

    platform::Ctl<platform::CommandButton> Command1{*this};  // "Проверить"

protected:
    void build() override;
    // The close box leaves as a solved square does, so the main window comes back.
    void closeBoxPressed() override { returnToMainWindow(); }

private:
    // The square is only hidden: it comes back as it was left.
    void returnToMainWindow();
};

}  // namespace games
