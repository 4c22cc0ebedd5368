#include "tales/Form10.h"

#include <string>

namespace tales {

using namespace platform;

Form10::Form10(Desktop& desktop)
    : Form(desktop, {.number = 10,
                     .clientWidth = 833,
                     .clientHeight = 555,
                     .placement = Placement::Centred,
                     .backColour = kWhite}) {}

void Form10::build() {
    const char* captions[] = {"Змея, лиса и обезьяна", "Лиса и кувшин", "Петух и собака", "Лиса и  тетерев",
                              "Как лиса училась летать"};
    for (int index = 0; index < 5; ++index) {
        add(Command1, "Command1", index,
            ButtonDesign{{48, 184 + 64 * index, 753, 57}, captions[index], {"Palatino Linotype", 23.25}, rgb(255, 255, 0)})
            .Click = [this, index] { Command1_Click(index); };
    }
    add(Label4, "Label4", LabelDesign{.bounds = {0, 0, 273, 49}, .caption = "3", .visible = false});
}

void Form10::Command1_Click(int index) {
    hide();
    form(1).hide();
    Label4->setCaption(std::to_string(index + 1));
    form(17).show();
}

}  // namespace tales
