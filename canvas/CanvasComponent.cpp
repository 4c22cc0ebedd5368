#include "canvas/CanvasComponent.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

#include "canvas/ToolImages.h"
#include "platform/core/Sounds.h"

namespace canvas {

using namespace platform;

const CanvasLayout kMainWindowCanvas{
    .canvas = {8, 8, 696, 903},
    .paletteLeft = 808,
    .paletteTop = 32,
    .shapeColour = {840, 784, 49, 25},
    .circleButton = {896, 776, 41, 41},
    .rectangleButton = {936, 776, 49, 41},
    .pencil = {1000, 784, 17, 21},
    .penLeft = 1024,
    .penTop = 784,
    .paletteFrame = {792, 16, 345, 801},
    .penFrame = {992, 780, 105, 25},
    .palettePanel = Bounds{808, 40, 313, 769},
    .undoButton = {724, 850, 48, 48},  // between the canvas and the title's frame
};

const CanvasLayout kTaleWindowCanvas{
    .canvas = {8, 80, 784, 751},
    .paletteLeft = 904,
    .paletteTop = 64,
    .shapeColour = {920, 816, 57, 33},
    .circleButton = {984, 816, 41, 41},
    .rectangleButton = {1024, 816, 49, 41},
    .pencil = {1096, 816, 17, 21},
    .penLeft = 1120,
    .penTop = 816,
    .paletteFrame = {888, 48, 345, 809},
    .penFrame = {1088, 812, 105, 25},
    .undoButton = {816, 860, 48, 48},  // between the page text's frame and the page button's
};

CanvasComponent::CanvasComponent(Form& host, const CanvasLayout& layout)
    : Picture1(host), Picture2(host), Picture4(host), Command10(host), Command11(host), Picture5(host), Image1(host),
      Shape1(host), Shape4(host), Label5(host), UndoButton(host), Frame(host), host_(host), layout_(layout) {
    state_.history = &history_;
}

void CanvasComponent::build() {
    state_.reset();
    history_.clear();
    Form& f = host_;
    const CanvasLayout& l = layout_;

    f.add(Shape1, "Shape1", ShapeDesign{l.paletteFrame, ShapeKind::RoundedRectangle, kWhite, kBlack, 2});
    if (l.palettePanel) {
        f.add(Label5, "Label5", LabelDesign{.bounds = *l.palettePanel, .backColour = kWhite}).Click = [this] {
            Label5_Click();
        };
    }
    // Over the palette panel, which it stands on in the main window.
    f.add(Shape4, "Shape4", ShapeDesign{l.penFrame, ShapeKind::RoundedRectangle, kWhite, kBlack, 1});
    f.add(Image1, "Image1", ImageDesign{l.pencil, pencilImage()});

    auto& canvas = f.add(Picture1, "Picture1", PictureDesign{l.canvas, kWhite, false});
    canvas.MouseDown = [this](const MouseArgs& a) { Picture1_MouseDown(a); };
    canvas.MouseMove = [this](const MouseArgs& a) { Picture1_MouseMove(a); };
    canvas.MouseUp = [this](const MouseArgs&) { Picture1_MouseUp(); };

    for (int i = 0; i < 32; ++i) {
        // 0..15 fill columns 3 and 4, 16..31 columns 1 and 2, two swatches a row.
        const int column = i < 16 ? 3 + i % 2 : 1 + i % 2;
        const int row = i < 16 ? 1 + i / 2 : 1 + (i - 16) / 2;
        const Bounds place{l.paletteLeft + (column - 1) * 80, l.paletteTop + (row - 1) * 96, 73, 73};
        f.add(Picture2, "Picture2", i, PictureDesign{place, kPalette[static_cast<std::size_t>(i)]}).Click = [this, i] {
            select(Picture2(i).backColour());
        };
    }
    const ColourNumber penSwatches[] = {kBlack, rgb(0, 0, 255), rgb(255, 0, 0)};
    for (std::size_t p = 0; p < kPenIndexes.size(); ++p) {
        const int index = kPenIndexes[p];
        const Bounds place{l.penLeft + 24 * static_cast<int>(p), l.penTop, 17, 17};
        f.add(Picture4, "Picture4", index, PictureDesign{place, penSwatches[p], true, true, "карандаш"}).Click =
            [this, index] { select(PenCodeBase + index); };
    }
    f.add(Picture5, "Picture5", PictureDesign{l.shapeColour, kDefaultControlColour}).Click = [this] { Picture5_Click(); };
    f.add(Command10, "Command10", ButtonDesign{.bounds = l.circleButton, .picture = circleImage()}).Click = [this] {
        select(CircleTool);
    };
    f.add(Command11, "Command11", ButtonDesign{.bounds = l.rectangleButton, .picture = rectangleImage()}).Click = [this] {
        select(RectangleTool);
    };

    f.add(UndoButton, "UndoButton", RoundButtonDesign{l.undoButton, undoImage(), "отменить"}).Click = [this] { undo(); };
    f.add(Frame, "Frame", ChoiceFrameDesign{});
    // The keys work while the window is shown and stands in front, whichever of
    // its parts (or none) has the keyboard focus. A hidden window's keys are off,
    // and the two canvas windows are never shown at once.
    QWidget* client = f.clientWidget();
    const std::pair<const char*, void (CanvasComponent::*)()> keys[] = {
        {"Ctrl+Z", &CanvasComponent::undo}, {"Ctrl+Shift+Z", &CanvasComponent::redo}, {"Ctrl+Y", &CanvasComponent::redo}};
    for (const auto& [sequence, action] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(sequence)), client);
        shortcut->setContext(Qt::ApplicationShortcut);
        QObject::connect(shortcut, &QShortcut::activated, client, [this, action = action] {
            if (inFront()) (this->*action)();
        });
    }
    showChoice();
}

// The topmost window shown on the stage is this one (the gallery or the tale
// chooser may stand over the main window).
bool CanvasComponent::inFront() const {
    QWidget* client = host_.clientWidget();
    QGraphicsProxyWidget* mine = client ? client->window()->graphicsProxyWidget() : nullptr;
    if (!mine || !mine->scene()) return client != nullptr;
    for (QGraphicsItem* item : mine->scene()->items(Qt::DescendingOrder)) {
        if (item->isVisible() && !item->parentItem()) return item == mine;
    }
    return false;
}

void CanvasComponent::select(ColourNumber choice) {
    state_.CurrentColor = choice;
    showChoice();
}

void CanvasComponent::showChoice() {
    constexpr int kAroundSwatch = ChoiceFrame::kThickness;
    const std::optional<ColourNumber>& choice = state_.CurrentColor;
    const ToolCursor cursor = toolCursor(choice);
    Picture1->setCursor(cursor.picture, cursor.hotX, cursor.hotY);
    ChoiceFrame& frame = *Frame;
    if (!choice) return frame.remove();
    if (isPen(*choice)) return frame.surround(Picture4(*choice - PenCodeBase).bounds(), kAroundSwatch);
    // The two shape buttons touch each other, so their frame lies just inside them.
    if (*choice == CircleTool) return frame.surround(Command10->bounds(), 0);
    if (*choice == RectangleTool) return frame.surround(Command11->bounds(), 0);
    for (const auto& [index, swatch] : Picture2.items()) {
        if (swatch->backColour() == *choice) return frame.surround(swatch->bounds(), kAroundSwatch);
    }
    frame.remove();
}

void CanvasComponent::undo() {
    PictureBox& canvas = *Picture1;
    canvas.changed(history_.undo(canvas.pixels()));
}

void CanvasComponent::redo() {
    PictureBox& canvas = *Picture1;
    canvas.changed(history_.redo(canvas.pixels()));
}

void CanvasComponent::startFreshHistory() { history_.clear(); }

void CanvasComponent::changeAsOneStep(const std::function<void()>& change) {
    PictureBox& canvas = *Picture1;
    history_.close(canvas.pixels());
    history_.touch(canvas.pixels(), {0, 0, canvas.drawableWidth(), canvas.drawableHeight()});
    change();
    history_.close(canvas.pixels());
}

void CanvasComponent::setAidsVisible(bool visible) {
    UndoButton->setVisible(visible);
    Frame->setVisible(visible && Frame->framed().has_value());
}

std::optional<ColourNumber> CanvasComponent::elementColour() const {
    if (state_.shapeToolSelected()) return std::nullopt;
    return state_.currentAsColour();
}

void CanvasComponent::colourWindowBackground() {
    if (const auto colour = elementColour()) host_.setBackColour(*colour);
}

void CanvasComponent::colourText(Label& label) {
    if (const auto colour = elementColour()) label.setForeColour(*colour);
}

void CanvasComponent::Picture1_MouseDown(const MouseArgs& args) {
    host_.services().multimedia.execute(platform::sounds::kCanvasPress);
    PictureBox& canvas = *Picture1;
    const PixelRect changed =
        state_.press(canvas.pixels(), args.x, args.y, Picture5->backColour(), canvas.width(), canvas.height());
    canvas.changed(changed);
}

void CanvasComponent::Picture1_MouseMove(const MouseArgs& args) {
    PictureBox& canvas = *Picture1;
    canvas.changed(state_.move(canvas.pixels(), args.buttons, static_cast<int>(args.x), static_cast<int>(args.y)));
}

void CanvasComponent::Picture1_MouseUp() { state_.release(Picture1->pixels()); }

void CanvasComponent::Picture5_Click() {
    if (const auto colour = elementColour()) Picture5->setBackColour(*colour);
}

void CanvasComponent::Label5_Click() {
    if (const auto colour = elementColour()) {
        Label5->setBackColour(*colour);
        Shape1->setFillColour(*colour);
    }
}

}  // namespace canvas
