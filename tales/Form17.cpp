#include "tales/Form17.h"

#include <string>

#include "platform/core/ResolutionGate.h"
#include "platform/core/Sounds.h"
#include "platform/QtServices.h"
#include "tales/Form10.h"

namespace tales {

using namespace platform;

namespace {

constexpr int kChooser = 10;
constexpr int kFirstTick = 904, kLastTick = 1240, kTickStep = 16;

}  // namespace

Form17::Form17(Desktop& desktop)
    : Form(desktop, {.number = 17, .backColour = rgb(0, 255, 255)}),
      keeping_(desktop, "tale.kept", [this] { return keptPage(); }) {}

void Form17::build() {
    const ColourNumber panel = rgb(192, 255, 255);
    add(Shape7, "Shape7", ShapeDesign{{8, 8, 1257, 1009}, ShapeKind::RoundedRectangle, panel, kBlack, 2});
    add(Shape3, "Shape3", ShapeDesign{{8, 840, 785, 177}, ShapeKind::RoundedRectangle, kWhite, kBlack, 3});
    add(Shape2, "Shape2", ShapeDesign{{888, 856, 329, 73}, ShapeKind::RoundedRectangle, rgb(255, 255, 192), kBlack, 2});
    canvas.build();
    add(Picture3, "Picture3", PictureDesign{{8, 80, 785, 753}, kWhite, false, false});
    add(Label5, "Label5",
        LabelDesign{.bounds = {8, 8, 785, 81},
                    .font = {"Palatino Linotype", 36, false, true},
                    .backColour = kWhite,
                    .alignment = Alignment::Centre,
                    .border = true});
    add(Label1, "Label1",
        LabelDesign{.bounds = {16, 848, 769, 153}, .caption = "466547457 ", .font = {"Palatino Linotype", 14.25, false, true}})
        .MouseDown = [this](const MouseArgs&) { canvas.colourText(*Label1); };
    add(Label2, "Label2",
        LabelDesign{.bounds = {920, 864, 145, 57},
                    .caption = "Дальше",
                    .font = {"Palatino Linotype", 30, false, true},
                    .alignment = Alignment::Right})
        .MouseDown = [this](const MouseArgs&) { canvas.colourText(*Label2); };
    add(Command2, "Command2", ButtonDesign{{1096, 864, 113, 57}, ">>", {"MS Sans Serif", 24}, rgb(128, 128, 255)})
        .Click = [this] { Command2_Click(); };
    const ColourNumber bar = rgb(128, 128, 255);
    add(Shape, "Shape", ShapeDesign{{888, 936, 9, 17}, ShapeKind::Rectangle, bar, bar, 1, false});
    // The bar's full width, twice 2647 twips, ends at the last mark.
    for (int x = kFirstTick, index = 0; x <= kLastTick; x += kTickStep, ++index) {
        add(Line1, "Line1", index, LineDesign{x, 936, x, 952});
    }
    add(Command1, "Command1",
        ButtonDesign{{888, 960, 281, 40}, "Выход", {"Palatino Linotype", 23.25, false, true}, rgb(255, 0, 0)})
        .Click = [this] { Command1_Click(); };
    add(Label6, "Label6", LabelDesign{.bounds = {16, -5, 169, 25}, .caption = "пятнушки", .font = {"Palatino Linotype", 8.25, true}});
}

void Form17::Form_Load() {
    platform::passResolutionGate(services());
    services().random.seedFromClock();
    PageCounter = 0;
    pageKept_ = false;
    if (const core::Tale* tale = chosenTale()) {
        Label5->setCaption(std::string(tale->title));
        if (!tale->pages.empty()) Label1->setCaption(std::string(tale->pages.front()));
        // The same tale, left last time other than through its own buttons: back at its page, drawing and all.
        const auto kept = keeping_.kept();
        PictureBox& picture = *canvas.Picture1;
        if (kept && kept->title == tale->title && kept->numbers.size() == 1 && kept->numbers[0] >= 0 &&
            kept->numbers[0] < static_cast<std::int64_t>(tale->pages.size()) &&
            kept->pixels.width() == picture.pixels().width() && kept->pixels.height() == picture.pixels().height()) {
            PageCounter = static_cast<std::int16_t>(kept->numbers[0]);
            Label1->setCaption(std::string(tale->pages[static_cast<std::size_t>(PageCounter)]));
            picture.pixels() = kept->pixels;
            picture.changedAll();
            pageKept_ = true;
        }
    }
    canvas.Picture1->Change = [this] {
        pageKept_ = true;
        keeping_.changed();
    };
}

platform::KeptDrawing Form17::keptPage() const { return {Label5->caption(), {PageCounter}, canvas.Picture1->pixels()}; }

void Form17::Form_MouseDown(const MouseArgs&) { canvas.colourWindowBackground(); }

const core::Tale* Form17::chosenTale() const {
    auto* chooser = dynamic_cast<Form10*>(&form(kChooser));
    return chooser ? core::findTale(chooser->Label4->caption()) : nullptr;
}

// ">>": the page goes to the printer with its drawing, and the next page starts
// on a blank canvas; the last page ends the tale.
void Form17::Command2_Click() {
    services().multimedia.execute(platform::sounds::kClick);
    PictureBox& picture = *canvas.Picture1;
    printCopy_.lay(picture, *Picture3, *Shape);
    canvas.setAidsVisible(false);
    const std::optional<std::string> failure = printClientArea(*this, {Label5->caption(), PageCounter + 1});
    canvas.setAidsVisible(true);
    Picture3->setVisible(false);
    picture.changedAll();
    if (failure) {
        // The page is not on paper: the drawing stays and so does the page.
        message(*failure);
        return;
    }
    // Row 0 and column 0 too: a page starts blank.
    picture.pixels().fill(kWhite);
    picture.changedAll();
    canvas.startFreshHistory();
    ++PageCounter;
    const core::Tale* tale = chosenTale();
    if (!tale) return;
    const int pages = static_cast<int>(tale->pages.size());
    if (PageCounter < pages) {
        Label1->setCaption(std::string(tale->pages[static_cast<std::size_t>(PageCounter)]));
    } else {
        closeTale();
    }
}

void Form17::Command1_Click() { closeTale(); }

void Form17::closeTale() {
    // Left by the tale's own buttons: next time it starts afresh. Another tale's
    // page, kept from earlier and not drawn over in this one, stays kept.
    if (pageKept_) keeping_.forget();
    backToMainWindow(Leave::Unload);
}

}  // namespace tales
