#pragma once
#include <string>
#include <vector>

#include "platform/Form.h"

namespace pages {

// A heading or a body text of a help page, as one row of its page's table.
struct HelpText {
    int index;  // in Label1 (headings) or Label2 (bodies)
    platform::Bounds bounds;
    double points;
    platform::Alignment alignment;
    std::string text;
};

// What sets one help page apart from the others.
struct HelpPageDesign {
    int number;
    platform::Bounds backButton;
    // Where the two side bars stand, clear of the page's texts.
    int leftBar = 56;
    int rightBar = 1224;
    std::vector<HelpText> headings;
    std::vector<HelpText> bodies;
};

// A help page: shown from the instructions menu, its "Назад" leads back there.
class HelpPage : public platform::Form {
public:
    HelpPage(platform::Desktop& desktop, HelpPageDesign design);

    platform::CtlArray<platform::Line> Line1{*this};         // the side bars
    platform::CtlArray<platform::Label> Label1{*this};       // headings
    platform::CtlArray<platform::Label> Label2{*this};       // what to do
    platform::Ctl<platform::CommandButton> Command1{*this};  // "Назад"

protected:
    void build() override;

private:
    void Command1_Click();
    HelpPageDesign design_;
};

// "Начало игры", "Заливка"
struct Form11 : HelpPage {
    explicit Form11(platform::Desktop& desktop);
};
// "Рисование круга и прямоугольника", "Рисование карандашом"
struct Form12 : HelpPage {
    explicit Form12(platform::Desktop& desktop);
};
// "Сохранение рисунков в галерею", "Создание собственного рисунка"
struct Form13 : HelpPage {
    explicit Form13(platform::Desktop& desktop);
};
// "Просмотр галереи рисунков", "Печать рисунка"
struct Form14 : HelpPage {
    explicit Form14(platform::Desktop& desktop);
};
// "Сказки"
struct Form15 : HelpPage {
    explicit Form15(platform::Desktop& desktop);
};
// "Мини-игры"
struct Form16 : HelpPage {
    explicit Form16(platform::Desktop& desktop);
};

}  // namespace pages
