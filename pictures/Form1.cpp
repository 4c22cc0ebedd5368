#include "pictures/Form1.h"

#include <charconv>
#include <ctime>
#include <variant>

#include "pictures/FileWithProgress.h"
#include "pictures/core/PictureFiles.h"
#include "platform/FamilyFiles.h"
#include "platform/QtServices.h"
#include "platform/core/ResolutionGate.h"
#include "platform/core/Sounds.h"

namespace pictures {

using namespace platform;

namespace {

bool isSurprise(int number) { return number >= 36 && number <= 38; }

constexpr int kLoadBarTwips = 5295;

}  // namespace

Form1::Form1(Desktop& desktop)
    : Form(desktop, {.number = 1, .backColour = rgb(0, 255, 255)}),
      keeping_(desktop, "main.kept", [this] { return keptDrawing(); }) {}

void Form1::build() {
    add(Shape6, "Shape6",
        ShapeDesign{twips(120, 120, 18855, 15135), ShapeKind::RoundedRectangle, rgb(192, 255, 255), kBlack, 2});
    add(Shape2, "Shape2",
        ShapeDesign{twips(11880, 12240, 6975, 1095), ShapeKind::RoundedRectangle, rgb(255, 255, 192), kBlack, 2});
    canvas.build();
    add(Picture3, "Picture3", PictureDesign{twips(120, 120, 10440, 13545), kWhite, false, false});
    add(Text1, "Text1",
        TextBoxDesign{twips(120, 120, 4335, 495), "ПЯТНУШКИ", {"Palatino Linotype", 15.75, false, true}, kBlack, kWhite,
                      Alignment::Left, false});

    const Font commandFont{"MS Sans Serif", 9.75, true};
    const ColourNumber light = rgb(128, 255, 255);
    auto command = [&](Ctl<CommandButton>& slot, const char* name, int top, const char* caption,
                       ColourNumber colour) -> CommandButton& {
        return add(slot, name, ButtonDesign{twips(17160, top, 1575, 1300), caption, commandFont, colour});
    };
    auto& clear = command(Command1, "Command1", 1320, "очистка рисунка", rgb(0, 255, 255));
    clear.setEnabled(false);
    clear.Click = [this] { Command1_Click(); };
    command(Command3, "Command3", 2640, "сохранить в галерею рисунков", light).Click = [this] { Command3_Click(); };
    command(Command4, "Command4", 3960, "галерея рисунков", light).Click = [this] { Command4_Click(); };
    command(Command6, "Command6", 5280, "печать рисунка", light).Click = [this] { Command6_Click(); };
    command(Command5, "Command5", 6600, "создать свой рисунок", light).Click = [this] { Command5_Click(); };
    command(Command7, "Command7", 7920, " напечатать сказку", light).Click = [this] { Command7_Click(); };
    command(Command9, "Command9", 9240, "переменка", light).Click = [this] { Command9_Click(); };
    add(Command8, "Command8",
        ButtonDesign{twips(17160, 10680, 1575, 1455), "выход", {"MS Sans Serif", 12, true}, rgb(255, 255, 0)})
        .Click = [this] { Command8_Click(); };
    add(Command2, "Command2", ButtonDesign{twips(17040, 12360, 1695, 855), ">>", {"MS Sans Serif", 24}, rgb(128, 128, 255)})
        .Click = [this] { Command2_Click(); };
    add(Command12, "Command12",
        ButtonDesign{twips(11880, 13440, 7095, 1815), kMakerPage, {"Palatino Linotype", 36, false, true, true},
                     rgb(255, 255, 128)})
        .Click = [this] { Command12_Click(); };

    add(Label2, "Label2",
        LabelDesign{.bounds = twips(11880, 12360, 4935, 615),
                    .caption = "Нажмите кнопку -->>",
                    .font = {"Comic Sans MS", 18, true},
                    .foreColour = rgb(255, 0, 0),
                    .alignment = Alignment::Centre})
        .MouseDown = [this](const MouseArgs&) { canvas.colourText(*Label2); };
    add(Label3, "Label3", LabelDesign{.bounds = twips(9480, 480, 615, 255), .caption = "Label3", .visible = false});
    add(Label4, "Label4",
        LabelDesign{.bounds = twips(240, -75, 2535, 375), .caption = "пятнушки", .font = {"Palatino Linotype", 8.25, true}});
    add(Shape3, "Shape3",
        ShapeDesign{twips(12000, 12960, 0, 255), ShapeKind::Rectangle, rgb(128, 128, 255), rgb(128, 128, 255), 1, false});
    add(Timer1, "Timer1", TimerDesign{500, false}).Tick = [this] { Timer1_Timer(); };
    add(Timer2, "Timer2", TimerDesign{500, false}).Tick = [this] { Timer2_Timer(); };
    add(Timer3, "Timer3", TimerDesign{600, true}).Tick = [this] { Timer3_Timer(); };
}

void Form1::Form_Load() {
    platform::passResolutionGate(services());
    services().random.seedFromClock();
    PictureNumber = 0;
    musicTicks_ = 0;
    // A drawing that an earlier run kept safe comes back the first time the window opens.
    if (!opened_) {
        opened_ = true;
        if (const auto kept = keeping_.kept()) restore(*kept);
    }
    canvas.Picture1->Change = [this] { keeping_.changed(); };
    services().multimedia.execute(platform::sounds::kPlayMusic);
}

platform::KeptDrawing Form1::keptDrawing() const {
    return {Label2->caption(), {PictureNumber, Command1->enabled() ? 1 : 0, slotBeforeSurprise_}, canvas.Picture1->pixels()};
}

void Form1::restore(const platform::KeptDrawing& kept) {
    if (kept.numbers.size() != 3) return;
    PictureBox& picture = *canvas.Picture1;
    picture.setOuterSize(kept.pixels.width(), kept.pixels.height());
    if (picture.pixels().width() != kept.pixels.width() || picture.pixels().height() != kept.pixels.height()) return;
    picture.pixels() = kept.pixels;
    picture.changedAll();
    canvas.startFreshHistory();
    Label2->setCaption(kept.title);
    PictureNumber = static_cast<int>(kept.numbers[0]);
    Command1->setEnabled(kept.numbers[1] != 0);
    slotBeforeSurprise_ = static_cast<int>(kept.numbers[2]);
}

void Form1::Form_MouseDown(const MouseArgs&) { canvas.colourWindowBackground(); }

void Form1::click() const { services().multimedia.execute(platform::sounds::kClick); }

int Form1::saveSlot() const { return isSurprise(PictureNumber) ? slotBeforeSurprise_ : PictureNumber; }

bool Form1::loadLibraryPicture(int number, bool fresh) {
    PictureBox& picture = *canvas.Picture1;
    const std::optional<LibraryPicture> read = readWithProgress<LibraryPicture>(
        {*Shape3, kLoadBarTwips, services().message},
        [&](const Progress& progress) { return readLibraryPicture(libraryPicturePath(number), progress); });
    if (!read) return false;
    const LibraryPicture& file = *read;
    if (fresh) {
        picture.setOuterSize(file.width, file.height);
        picture.clear();
        drawLibraryPicture(file, picture.pixels());
        canvas.startFreshHistory();
    } else {
        // Clearing the colouring can be undone like any other step.
        canvas.changeAsOneStep([&] { drawLibraryPicture(file, picture.pixels()); });
    }
    picture.changedAll();
    services().beep.beep();
    Label2->setCaption(file.title);
    return true;
}

// ">>": a random library picture, or now and then a surprise game.
void Form1::Command2_Click() {
    click();
    const int previous = PictureNumber;
    const bool clearWasEnabled = Command1->enabled();
    Command1->setEnabled(true);
    PictureNumber = services().random.below(38) + 1;
    if (isSurprise(PictureNumber)) {
        if (!isSurprise(previous)) slotBeforeSurprise_ = previous;
        hide();
        form(PictureNumber - 34).show();  // 36 -> Form2, 37 -> Form3, 38 -> Form4
        return;
    }
    if (!loadLibraryPicture(PictureNumber, true)) {
        PictureNumber = previous;
        Command1->setEnabled(clearWasEnabled);
    }
}

// "очистка рисунка": the library picture's lines again, the colouring gone. After a
// surprise it clears the picture that is still on the canvas, if that is a library one.
void Form1::Command1_Click() {
    click();
    const int number = saveSlot();
    if (number >= 1 && number <= 35) loadLibraryPicture(number, false);
}

void Form1::Command3_Click() {
    click();
    const bool saved = saveWithProgress({*Shape3, kLoadBarTwips, services().message}, [&](const Progress& progress) {
        return saveGalleryPicture(galleryPath(saveSlot()), Label2->caption(), canvas.Picture1->pixels(), progress);
    });
    if (!saved) return;
    services().beep.beep();
    // The family's copy, an ordinary picture file in the Pictures folder; the slot is saved either way.
    const auto png = platform::keepForFamily(Label2->caption(), "png", platform::pngOf(canvas.Picture1->pixels()),
                                             std::time(nullptr));
    if (const auto* why = std::get_if<std::string>(&png)) {
        message("Рисунок сохранён в галерею, но не записан в папку с картинками: " + *why + ".");
    }
}

void Form1::Command4_Click() {
    click();
    form(6).show();
}

void Form1::Command5_Click() {
    click();
    Label2->setCaption("Мой рисунок");
    canvas.changeAsOneStep([this] { canvas.Picture1->clear(); });
    PictureNumber = 0;
    Command1->setEnabled(false);
}

// "печать рисунка": the window is printed with a copy of the drawing laid over
// the canvas and the program's name in its corner.
void Form1::Command6_Click() {
    click();
    printCopy_.lay(*canvas.Picture1, *Picture3, *Shape3);
    Text1->setVisible(true);
    canvas.setAidsVisible(false);
    const std::optional<std::string> failure = printClientArea(*this, {Label2->caption()});
    canvas.setAidsVisible(true);
    Text1->setVisible(false);
    if (failure) {
        // Nothing to wait for: the canvas comes back at once, and the box says why.
        Picture3->setVisible(false);
        message(*failure);
        return;
    }
    Timer1->setEnabled(true);
}

// Half a second after a print the copy goes. The canvas itself was never touched
// by the print, so nothing is painted back over what the child did meanwhile.
void Form1::Timer1_Timer() {
    Picture3->setVisible(false);
    Timer1->setEnabled(false);
}

// The gallery's "Редактировать" hands over the slot through Label3.
void Form1::Timer2_Timer() {
    const std::string text = Label3->caption();
    int slot = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), slot);
    if (error == std::errc() && end == text.data() + text.size()) PictureNumber = slot;
    Timer2->setEnabled(false);
    keeping_.changed();
}

void Form1::Command7_Click() {
    click();
    form(10).show();
}

void Form1::Command8_Click() {
    leaveProgram();
    services().multimedia.execute(platform::sounds::kCloseMusic);
}

void Form1::Command9_Click() {
    click();
    hide();
    form(9).show();
}

void Form1::Command12_Click() { services().browser.open(kMakerPage); }

// Resends the music every fifth tick, so it starts again once it has ended.
void Form1::Timer3_Timer() {
    if (musicTicks_ == 5) {
        musicTicks_ = 0;
        services().multimedia.execute(platform::sounds::kPlayMusic);
    }
    ++musicTicks_;
}

}  // namespace pictures
