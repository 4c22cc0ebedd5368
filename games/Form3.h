#pragma once
#include "platform/Form.h"

namespace games {

// The arithmetic example.
class Form3 : public platform::Form {
public:
    explicit Form3(platform::Desktop& desktop);

    platform::Ctl<platform::CommandButton> Command2{*this};  // "Проверить"

protected:
    void build() override;
    // The close box leaves as a right answer does, so the main window comes back.
    void closeBoxPressed() override { returnToMainWindow(); }

private:
    // The example is unloaded: the next one loads afresh.
    void returnToMainWindow();
};

}  // namespace games
