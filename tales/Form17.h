#pragma once
#include "canvas/CanvasComponent.h"
#include "platform/Form.h"

namespace tales {

// The tale window: a tale page by page, with a canvas to illustrate each page.
class Form17 : public platform::Form {
public:
    explicit Form17(platform::Desktop& desktop);

    canvas::CanvasComponent canvas{*this, canvas::kTaleWindowCanvas};
    platform::Ctl<platform::Shape> Shape7{*this};            // frame of the whole window
    platform::Ctl<platform::Shape> Shape3{*this};            // frame behind the page text
    platform::Ctl<platform::Shape> Shape2{*this};            // frame behind the page button
    platform::Ctl<platform::Label> Label5{*this};            // the tale's title
    platform::Ctl<platform::Label> Label1{*this};            // the page text
    platform::Ctl<platform::Label> Label2{*this};            // "Дальше"
    platform::Ctl<platform::Label> Label6{*this};            // small product name
    platform::Ctl<platform::CommandButton> Command1{*this};  // "Выход"
    platform::Ctl<platform::CommandButton> Command2{*this};  // ">>", the page button

protected:
    void build() override;
    void Form_Load() override;
    void Form_MouseDown(const platform::MouseArgs& args) override;

private:
    void Command1_Click();
    // Leaves the tale for the main window, which shows its drawing as it was.
    void closeTale();
};

}  // namespace tales
