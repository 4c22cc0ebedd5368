// The 1280 x 1024 stage on monitors of other sizes: scaled uniformly, centred,
// and clicks still land on the right control.
#include <gtest/gtest.h>

#include <QBackingStore>
#include <QImage>
#include <QScreen>
#include <QTest>

#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/FramePacer.h"
#include "tests/support/Harness.h"

using namespace platform;
using testing_support::Harness;

namespace {

class ButtonForm : public Form {
public:
    explicit ButtonForm(Desktop& desktop) : Form(desktop, {.number = 1}) {}
    Ctl<CommandButton> Command1{*this};
    Ctl<CommandButton> Command2{*this};
    int clicked = 0;

protected:
    void build() override {
        add(Command1, "Command1", ButtonDesign{{1100, 900, 100, 50}, "один"}).Click = [this] { clicked = 1; };
        add(Command2, "Command2", ButtonDesign{{1100, 960, 100, 50}, "два"}).Click = [this] { clicked = 2; };
    }
};

// A band of letters in large type, side by side on a plain colour, as the
// welcome window's title stands.
class BandForm : public Form {
public:
    static constexpr int kLetters = 9, kLeft = 100, kTop = 100, kWidth = 97, kHeight = 120;
    explicit BandForm(Desktop& desktop) : Form(desktop, {.number = 1, .backColour = rgb(255, 0, 0)}) {}
    CtlArray<Label> Label1{*this};

protected:
    void build() override {
        for (int i = 0; i < kLetters; ++i) {
            add(Label1, "Label1", i,
                LabelDesign{.bounds = {kLeft + i * kWidth, kTop, kWidth, kHeight},
                            .caption = "Ж",
                            .font = {"Arial Black", 72},
                            .foreColour = rgb(0, 0, 0),
                            .backColour = rgb(0, 0, 255),
                            .alignment = Alignment::Centre});
        }
    }
};

struct StageCase {
    int width, height;
    double scale;
    QPoint origin;  // where the stage's (0, 0) lands on the monitor
};

class StageTest : public ::testing::TestWithParam<StageCase> {
protected:
    Harness h;
    Stage& stage = h.desktop.stage();

    // The stage on this monitor, with the window shown on it.
    void showOnMonitor(Form& form) {
        stage.resize(GetParam().width, GetParam().height);
        stage.show();
        form.show();
    }
};

}  // namespace

TEST_P(StageTest, StageIsScaledToFitCentredAndClicksLandOnTheRightButton) {
    const StageCase c = GetParam();
    ButtonForm form(h.desktop);
    showOnMonitor(form);
    Harness::settle();

    EXPECT_NEAR(stage.scale(), c.scale, 1e-3);
    const QPoint origin = stage.mapFromScene(QPointF(0, 0));
    EXPECT_NEAR(origin.x(), c.origin.x(), 1);
    EXPECT_NEAR(origin.y(), c.origin.y(), 1);

    // The middle of "два", just below "один", as the monitor sees it.
    const QPoint target = stage.mapFromScene(QPointF(1150, 985));
    QTest::mouseClick(stage.viewport(), Qt::LeftButton, {}, target);
    EXPECT_EQ(form.clicked, 2);
}

INSTANTIATE_TEST_SUITE_P(Monitors, StageTest,
                         ::testing::Values(StageCase{1280, 1024, 1.0, {0, 0}},
                                           StageCase{1920, 1080, 1080.0 / 1024, {285, 0}},
                                           StageCase{1024, 768, 0.75, {32, 0}},
                                           StageCase{1600, 1200, 1200.0 / 1024, {50, 0}},
                                           StageCase{1366, 768, 0.75, {203, 0}}),
                         [](const auto& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

// The buffer made before the stage is first shown is the one its first frame
// is painted into, whole: a buffer of another size would be made anew, and its
// pages come one by one again.
TEST_P(StageTest, TheFrameBufferMadeAheadIsTheOneTheFirstFrameFills) {
    ButtonForm form(h.desktop);
    stage.resize(GetParam().width, GetParam().height);
    stage.prepareFrameBuffer();
    const auto* prepared = dynamic_cast<QImage*>(stage.backingStore()->paintDevice());
    ASSERT_NE(prepared, nullptr);
    const uchar* const memory = prepared->constBits();
    stage.show();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&stage));
    Harness::settle();

    const auto* painted = dynamic_cast<QImage*>(stage.backingStore()->paintDevice());
    ASSERT_NE(painted, nullptr);
    EXPECT_EQ(painted->constBits(), memory);
    EXPECT_EQ(painted->size(), QSize(GetParam().width, GetParam().height));
    const QImage shot = stage.screen()->grabWindow(stage.winId()).toImage();
    EXPECT_EQ(shot.pixel(stage.mapFromScene(QPointF(640, 512))), qRgb(240, 240, 240)) << "the window's face";
}

// Scaled, letters of large type side by side still cover their band whole, no
// seam between them, when first shown and when recoloured: every pixel there is
// the labels' blue, or text of full blue blended over it.
TEST_P(StageTest, LettersOfLargeTypeSideBySideLeaveNoSeam) {
    BandForm form(h.desktop);
    showOnMonitor(form);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&stage));
    const QRect band = stage
                           .mapFromScene(QRectF(BandForm::kLeft, BandForm::kTop, BandForm::kLetters * BandForm::kWidth,
                                                BandForm::kHeight))
                           .boundingRect()
                           .adjusted(2, 2, -2, -2);
    const auto seams = [&] {
        QTest::qWait(2 * framePacer::kFrameMilliseconds);
        const QImage shot = stage.screen()->grabWindow(stage.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        int found = 0;
        for (int y = band.top(); y <= band.bottom(); ++y) {
            for (int x = band.left(); x <= band.right(); ++x) {
                const QRgb p = shot.pixel(x, y);
                if (qBlue(p) != 255 || qRed(p) != qGreen(p)) ++found;
            }
        }
        return found;
    };
    for (int i = 0; i < BandForm::kLetters; ++i) form.Label1(i).setForeColour(rgb(255, 255, 255));
    EXPECT_EQ(seams(), 0) << "pixels of another colour, shown whole";
    form.Label1(2).setForeColour(rgb(200, 200, 255));
    form.Label1(6).setForeColour(rgb(100, 100, 255));
    EXPECT_EQ(seams(), 0) << "pixels of another colour, two letters recoloured";
}
