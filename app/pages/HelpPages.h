#pragma once
#include "platform/Form.h"

namespace pages {

// What sets one help page apart from the others.
struct HelpPageDesign {
    int number;
    platform::Bounds backButton;
};

// A help page: shown from the instructions menu, its "Назад" leads back there.
class HelpPage : public platform::Form {
public:
    HelpPage(platform::Desktop& desktop, const HelpPageDesign& design);

    platform::Ctl<platform::CommandButton> Command1{*this};  // "Назад"

protected:
    void build() override;

private:
    void Command1_Click();
    HelpPageDesign design_;
};

struct Form11 : HelpPage {
    explicit Form11(platform::Desktop& d) : HelpPage(d, {11, {856, 920, 393, 73}}) {}
};
struct Form12 : HelpPage {
    explicit Form12(platform::Desktop& d) : HelpPage(d, {12, {856, 912, 393, 73}}) {}
};
struct Form13 : HelpPage {
    explicit Form13(platform::Desktop& d) : HelpPage(d, {13, {864, 936, 393, 73}}) {}
};
struct Form14 : HelpPage {
    explicit Form14(platform::Desktop& d) : HelpPage(d, {14, {856, 936, 393, 73}}) {}
};
struct Form15 : HelpPage {
    explicit Form15(platform::Desktop& d) : HelpPage(d, {15, {856, 944, 393, 73}}) {}
};
struct Form16 : HelpPage {
    explicit Form16(platform::Desktop& d) : HelpPage(d, {16, {856, 944, 393, 73}}) {}
};

}  // namespace pages
