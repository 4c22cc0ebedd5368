#pragma once
#include <QImage>
#include <QPixmap>
#include <future>
#include <map>
#include <string>

#include "platform/Form.h"

namespace pages {

// The welcome window, the program's start window: a title whose letters keep
// changing colour, a sun whose rays twinkle, three pictures and four buttons.
class Form5 : public platform::Form {
public:
    explicit Form5(platform::Desktop& desktop);

    platform::Ctl<platform::Shape> Shape1{*this};
    platform::Ctl<platform::Shape> Shape2{*this};
    platform::Ctl<platform::Shape> Shape3{*this};
    platform::Ctl<platform::Shape> Shape4{*this};
    platform::Ctl<platform::Image> Image1{*this};
    platform::Ctl<platform::Image> Image2{*this};
    platform::Ctl<platform::Image> Image3{*this};
    platform::Ctl<platform::Image> Image4{*this};  // the sun
    platform::CtlArray<platform::Line> Line1{*this};   // the sun's rays
    platform::CtlArray<platform::Label> Label1{*this}; // the title letters
    platform::Ctl<platform::Label> Label2{*this};      // the resolution notice
    platform::Ctl<platform::Line> Line2{*this};
    platform::Ctl<platform::CommandButton> Command1{*this};  // "В игру !!!"
    platform::Ctl<platform::CommandButton> Command2{*this};  // "Выход"
    platform::Ctl<platform::CommandButton> Command3{*this};  // "Об игре"
    platform::Ctl<platform::CommandButton> Command4{*this};  // "Инструкции"
    platform::Ctl<platform::Timer> Timer1{*this};  // recolours a title letter
    platform::Ctl<platform::Timer> Timer2{*this};  // makes the rays twinkle

    int rayPhase() const { return rayPhase_; }

protected:
    void build() override;
    void Form_Load() override;
    // Closing the start window ends the program rather than leaving it running unseen.
    void closeBoxPressed() override { endProgram(); }

private:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Timer1_Timer();
    void Timer2_Timer();

    int rayPhase_ = 0;
    // The pictures, read on a thread of their own from when the window set is
    // made, so the first load finds them ready.
    std::future<std::map<std::string, QImage>> reading_;
    std::map<std::string, QImage> pictures_;
    QPixmap picture(const std::string& file);
};

}  // namespace pages
