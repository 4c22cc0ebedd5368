#pragma once
#include "platform/Form.h"

namespace games {

// The keyboard trainer.
class Form4 : public platform::Form {
public:
    explicit Form4(platform::Desktop& desktop);

protected:
    void build() override;
    // The close box leaves as a passed exercise does, so the main window comes back.
    void closeBoxPressed() override { returnToMainWindow(); }

private:
    // The trainer is unloaded: the next exercise loads afresh.
    void returnToMainWindow();
};

}  // namespace games
