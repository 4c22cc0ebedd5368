#pragma once
#include "canvas/CanvasComponent.h"
#include "platform/Form.h"

namespace pictures {

// The main colouring window: the hub the child comes back to.
class Form1 : public platform::Form {
public:
    explicit Form1(platform::Desktop& desktop);

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
    platform::Ctl<platform::Shape> Shape6{*this};
    platform::Ctl<platform::Timer> Timer3{*this};  // keeps the music going

    canvas::CanvasComponent canvas{*this, canvas::kMainWindowCanvas};
    int PictureNumber = 0;
    int musicTicks() const { return musicTicks_; }

protected:
    void build() override;
    void Form_Load() override;
    void Form_MouseDown(const platform::MouseArgs& args) override;

private:
    void Command2_Click();
    void Command4_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Timer3_Timer();
    void Label2_MouseDown();
    void click() const;

    int musicTicks_ = 0;
};

}  // namespace pictures
