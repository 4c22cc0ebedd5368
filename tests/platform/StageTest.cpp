// The 1280 x 1024 stage on monitors of other sizes: scaled uniformly, centred,
// and clicks still land on the right control.
#include <gtest/gtest.h>

#include <QTest>

#include "platform/Form.h"
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

struct StageCase {
    int width, height;
    double scale;
    QPoint origin;  // where the stage's (0, 0) lands on the monitor
};

class StageTest : public ::testing::TestWithParam<StageCase> {};

}  // namespace

TEST_P(StageTest, StageIsScaledToFitCentredAndClicksLandOnTheRightButton) {
    const StageCase c = GetParam();
    Harness h;
    ButtonForm form(h.desktop);
    Stage& stage = h.desktop.stage();
    stage.resize(c.width, c.height);
    stage.show();
    form.show();
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
