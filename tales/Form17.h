#pragma once
#include <cstdint>

#include "canvas/CanvasComponent.h"
#include "canvas/PrintCopy.h"
#include "platform/Form.h"
#include "platform/SafeKeeping.h"
#include "tales/core/TaleCatalogue.h"

namespace tales {

// The tale window: a tale page by page, with a canvas to illustrate each page.
// Every page turn prints the window, title, drawing and text, as one sheet.
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
    platform::Ctl<platform::PictureBox> Picture3{*this};     // print copy, over the canvas
    platform::Ctl<platform::Shape> Shape{*this};             // page-turn progress bar
    platform::CtlArray<platform::Line> Line1{*this};         // tick marks under the bar
    platform::Ctl<platform::CommandButton> Command1{*this};  // "Выход"
    platform::Ctl<platform::CommandButton> Command2{*this};  // ">>", the page button

    // Pages turned so far; page PageCounter + 1 is on screen.
    std::int16_t PageCounter = 0;

protected:
    void build() override;
    void Form_Load() override;
    void Form_MouseDown(const platform::MouseArgs& args) override;

private:
    void Command1_Click();
    void Command2_Click();
    // The tale the chooser's Label4 names now; null when it names none.
    const core::Tale* chosenTale() const;
    // Leaves the tale for the main window, which shows its drawing as it was.
    void closeTale();
    // The page and its drawing as kept safe: the tale's title, the page, the pixels.
    platform::KeptDrawing keptPage() const;

    canvas::PrintCopy printCopy_;
    platform::SafeKeeping keeping_;
    bool pageKept_ = false;  // what is kept is this tale's page
};

}  // namespace tales
