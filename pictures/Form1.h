#pragma once
#include "canvas/CanvasComponent.h"
#include "canvas/PrintCopy.h"
#include "platform/Form.h"
#include "platform/SafeKeeping.h"

namespace pictures {

// The page the web button opens: it ships beside the program.
inline constexpr const char* kMakerPage = "pyatnushki.html";

// The main colouring window: the hub the child comes back to.
class Form1 : public platform::Form {
public:
    explicit Form1(platform::Desktop& desktop);

    canvas::CanvasComponent canvas{*this, canvas::kMainWindowCanvas};
    platform::Ctl<platform::CommandButton> Command1{*this};   // "очистка рисунка"
    platform::Ctl<platform::CommandButton> Command2{*this};   // ">>"
    platform::Ctl<platform::CommandButton> Command3{*this};   // "сохранить в галерею рисунков"
    platform::Ctl<platform::CommandButton> Command4{*this};   // "галерея рисунков"
    platform::Ctl<platform::CommandButton> Command5{*this};   // "создать свой рисунок"
    platform::Ctl<platform::CommandButton> Command6{*this};   // "печать рисунка"
    platform::Ctl<platform::CommandButton> Command7{*this};   // " напечатать сказку"
    platform::Ctl<platform::CommandButton> Command8{*this};   // "выход"
    platform::Ctl<platform::CommandButton> Command9{*this};   // "переменка"
    platform::Ctl<platform::CommandButton> Command12{*this};  // the web button
    platform::Ctl<platform::Label> Label2{*this};             // the picture's title
    platform::Ctl<platform::Label> Label3{*this};             // gallery hand-over, never visible
    platform::Ctl<platform::Label> Label4{*this};             // small product name
    platform::Ctl<platform::Shape> Shape2{*this};
    platform::Ctl<platform::Shape> Shape3{*this};              // progress bar
    platform::Ctl<platform::Shape> Shape6{*this};
    platform::Ctl<platform::PictureBox> Picture3{*this};      // print copy, over the canvas
    platform::Ctl<platform::TextBox> Text1{*this};            // title printed on the copy
    platform::Ctl<platform::Timer> Timer1{*this};             // ends a print
    platform::Ctl<platform::Timer> Timer2{*this};             // takes the gallery's slot number
    platform::Ctl<platform::Timer> Timer3{*this};             // keeps the music going

    int PictureNumber = 0;
    // The gallery slot that "сохранить в галерею рисунков" writes now.
    int saveSlot() const;

protected:
    void build() override;
    void Form_Load() override;
    void Form_MouseDown(const platform::MouseArgs& args) override;

private:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command12_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void click() const;
    // Reads library picture n; on success resize-and-clear (a new picture) or
    // draw over the colouring (a clearing). Nothing changes when the file is bad.
    bool loadLibraryPicture(int number, bool fresh);
    // The drawing as it is kept safe, and put back as it was kept.
    platform::KeptDrawing keptDrawing() const;
    void restore(const platform::KeptDrawing& kept);

    int musicTicks_ = 0;
    // The slot of the picture on the canvas before a surprise game was drawn.
    int slotBeforeSurprise_ = 0;
    // The drawing as printed, with this window's own snapshot table.
    canvas::PrintCopy printCopy_;
    platform::SafeKeeping keeping_;
    bool opened_ = false;  // the window has been opened in this run
};

}  // namespace pictures
