#include "app/pages/Form5.h"

#include <algorithm>

#include "platform/ImageFiles.h"
#include "platform/core/ResolutionGate.h"

namespace pages {

using namespace platform;

namespace {

constexpr ColourNumber kBlue = rgb(0, 0, 255);

// The title, two rows of capitals: each letter with its index, left edge,
// label width and alignment. Width and alignment set where the letter stands
// in its label; they are chosen (measured in the title's face) so that every
// letter lies whole inside its label, clear of its edges and of the other
// labels, and the gaps between the letters of a row are as even as the left
// edges allow: 23 or 24 pixels in the first row; in the second, whose edges
// crowd its first five letters and spread the last ones, 14 to 36. Ж, the
// widest letter, is set narrower to fit between its neighbours.
struct Letter {
    int index;
    const char* text;
    int left;
    int top;
    int width;
    Alignment alignment;
    int stretch = 100;
};
constexpr int kLetterHeight = 157;
constexpr Alignment L = Alignment::Left, R = Alignment::Right, C = Alignment::Centre;
constexpr Letter kLetters[] = {
    {0, "П", 40, 8, 97, L},          {1, "Я", 136, 8, 97, R},      {2, "Т", 240, 8, 101, C},
    {3, "Н", 344, 8, 99, C},         {4, "У", 448, 8, 100, C},     {5, "Ш", 552, 8, 134, R},
    {6, "К", 696, 8, 97, L},         {7, "И", 800, 8, 97, C},      {8, "Х", 40, 160, 97, C},
    {9, "У", 136, 160, 102, C},      {10, "Д", 240, 160, 102, C},  {11, "О", 344, 160, 98, R},
    {12, "Ж", 448, 160, 110, C, 76}, {16, "Н", 560, 160, 97, R},   {17, "И", 656, 160, 112, R},
    {13, "К", 768, 160, 132, C},     {14, "А", 912, 160, 97, C},   {15, "М", 1016, 160, 110, C},
};

const char* const kPictures[] = {"welcome1.png", "welcome2.png", "welcome3.png", "sun.png"};

// A ray's fixed end, its second end at load, and the second end in each phase;
// -1 keeps the coordinate as it is.
struct Ray {
    int x1, y1, x2, y2;
    int phase0x, phase0y, phase1x, phase1y;
};
constexpr Ray kRays[] = {
    {1024, 16, 920, 16, 912, -1, 992, -1},      {1032, 56, 1000, 64, 992, 64, 928, 88},
    {1128, 136, 1128, 248, -1, 240, -1, 176},   {1088, 128, 1080, 152, 1072, 164, 1056, 192},
    {1048, 96, 976, 144, 968, 160, 1024, 120},
};

}  // namespace

Form5::Form5(Desktop& desktop)
    : Form(desktop, {.number = 5,
                     .title = "Добро пожаловать",
                     .frame = Frame::TitleBar,
                     .clientWidth = 1143,
                     .clientHeight = 768,
                     .placement = Placement::Centred,
                     .backColour = kBlue}),
      // Started when the window set is made: while the interface thread shows
      // the stage, which waits on the display server, this one decodes.
      reading_(std::async(std::launch::async, [] {
          std::map<std::string, QImage> images;
          for (const char* file : kPictures) images[file] = readImageFile(file);
          return images;
      })) {}

// Handed over once; a later load reads the file again.
QPixmap Form5::picture(const std::string& file) {
    if (reading_.valid()) pictures_ = reading_.get();
    const auto it = pictures_.find(file);
    if (it == pictures_.end()) return imageFile(file);
    QPixmap read = QPixmap::fromImage(std::move(it->second));
    pictures_.erase(it);
    return read;
}

void Form5::build() {
    const ColourNumber frame = rgb(192, 192, 255);
    add(Shape1, "Shape1", ShapeDesign{{0, 328, 969, 441}, ShapeKind::RoundedRectangle, kWhite, kBlack, 3});
    add(Image2, "Image2", ImageDesign{{32, 336, 390, 427}, picture("welcome2.png"), true});
    add(Shape2, "Shape2", ShapeDesign{{24, 344, 393, 409}, ShapeKind::RoundedRectangle, std::nullopt, frame, 15});
    add(Image1, "Image1", ImageDesign{{544, 344, 390, 411}, picture("welcome1.png"), true});
    add(Shape3, "Shape3", ShapeDesign{{544, 344, 393, 409}, ShapeKind::RoundedRectangle, std::nullopt, frame, 15});
    add(Image3, "Image3", ImageDesign{{424, 512, 117, 78}, picture("welcome3.png"), true});
    add(Image4, "Image4", ImageDesign{{1032, 0, 117, 115}, picture("sun.png")});
    for (int i = 0; i < 5; ++i) {
        const Ray& r = kRays[i];
        add(Line1, "Line1", i, LineDesign{r.x1, r.y1, r.x2, r.y2, rgb(255, 255, 0), 5});
    }
    for (const Letter& l : kLetters) {
        add(Label1, "Label1", l.index,
            LabelDesign{.bounds = {l.left, l.top, l.width, kLetterHeight},
                        .caption = l.text,
                        .font = {.face = "Arial Black", .points = 99.75, .stretch = l.stretch},
                        .foreColour = kBlue,
                        .backColour = kBlue,
                        .alignment = l.alignment,
                        .middle = true});
    }
    add(Shape4, "Shape4", ShapeDesign{{968, 360, 177, 401}, ShapeKind::RoundedRectangle, rgb(255, 255, 192), kBlack, 3});
    add(Label2, "Label2",
        LabelDesign{.bounds = {976, 368, 161, 97},
                    .caption = "Перед нажатием на эти кнопки необходимо установить разрешение экрана 1280 * 1024",
                    .font = {"MS Sans Serif", 9.75},
                    .alignment = Alignment::Centre});
    add(Line2, "Line2", LineDesign{976, 440, 1128, 440, kBlue, 2});

    const Font palatino{"Palatino Linotype", 23.25, true, true};
    add(Command1, "Command1", ButtonDesign{{976, 544, 161, 49}, "В игру !!!", palatino, rgb(255, 255, 128)}).Click = [this] {
        Command1_Click();
    };
    add(Command3, "Command3", ButtonDesign{{976, 592, 161, 57}, "Об игре", palatino, rgb(255, 255, 0)}).Click = [this] {
        Command3_Click();
    };
    add(Command4, "Command4",
        ButtonDesign{{976, 640, 161, 49}, "Инструкции", {"Palatino Linotype", 12, true, true}, rgb(192, 192, 0)})
        .Click = [this] { Command4_Click(); };
    add(Command2, "Command2", ButtonDesign{{976, 704, 161, 41}, "Выход", {"MS Sans Serif", 13.5, true}, rgb(255, 0, 0)})
        .Click = [this] { Command2_Click(); };
    add(Timer1, "Timer1", TimerDesign{10, true}).Tick = [this] { Timer1_Timer(); };
    add(Timer2, "Timer2", TimerDesign{250, true}).Tick = [this] { Timer2_Timer(); };
}

void Form5::Form_Load() {
    rayPhase_ = 0;
    platform::passResolutionGate(services());
}

// One letter, picked at random, takes one of 7 x 7 x 7 colours.
void Form5::Timer1_Timer() {
    RandomService& random = services().random;
    const int index = random.below(18);
    auto component = [&] { return std::min(255, random.below(7) * 35 + 50); };
    const int red = component();
    const int green = component();
    const int blue = component();
    Label1(index).setForeColour(rgb(red, green, blue));
}

void Form5::Timer2_Timer() {
    for (int i = 0; i < 5; ++i) {
        const Ray& r = kRays[i];
        Line& ray = Line1(i);
        const int x = rayPhase_ == 0 ? r.phase0x : r.phase1x;
        const int y = rayPhase_ == 0 ? r.phase0y : r.phase1y;
        ray.setEnds(ray.x1(), ray.y1(), x < 0 ? ray.x2() : x, y < 0 ? ray.y2() : y);
    }
    rayPhase_ = (rayPhase_ + 1) % 2;
}

void Form5::Command1_Click() { backToMainWindow(Leave::Hide); }

void Form5::Command2_Click() { leaveProgram(); }

void Form5::Command3_Click() {
    hide();
    form(7).show();
}

void Form5::Command4_Click() { form(8).show(); }

}  // namespace pages
