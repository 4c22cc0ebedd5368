// Every command button of every window, as the window draws it: its face shows
// the colour of its design, flat, whether the button is up or held down.
#include <gtest/gtest.h>

#include <QImage>
#include <QPushButton>
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tests/app/AppHarness.h"

using namespace platform;
using testing_support::AppHarness;

namespace {

struct Designed {
    int form;
    const char* button;
    ColourNumber face;
};

constexpr ColourNumber kRed = rgb(255, 0, 0), kYellow = rgb(255, 255, 0), kLavender = rgb(192, 192, 255),
                       kLightCyan = rgb(128, 255, 255), kStandard = kDefaultControlColour;

// The buttons of the windows' designs; the canvas's shape buttons and the about
// page's "Назад" are standard buttons.
const Designed kButtons[] = {
    {5, "Command1", rgb(255, 255, 128)}, {5, "Command3", kYellow}, {5, "Command4", rgb(192, 192, 0)},
    {5, "Command2", kRed},
    {7, "Command1", kStandard},
    {8, "Command1", kLavender}, {8, "Command2", kLavender}, {8, "Command3", kLavender}, {8, "Command4", kLavender},
    {8, "Command5", kLavender}, {8, "Command6", kLavender}, {8, "Command7", kRed},
    {9, "Command1", kLavender}, {9, "Command2", kYellow}, {9, "Command3", kRed},
    {11, "Command1", kRed}, {12, "Command1", kRed}, {13, "Command1", kRed}, {14, "Command1", kRed},
    {15, "Command1", kRed}, {16, "Command1", kRed},
    {1, "Command1", rgb(0, 255, 255)}, {1, "Command3", kLightCyan}, {1, "Command4", kLightCyan},
    {1, "Command6", kLightCyan}, {1, "Command5", kLightCyan}, {1, "Command7", kLightCyan},
    {1, "Command9", kLightCyan}, {1, "Command8", kYellow}, {1, "Command2", rgb(128, 128, 255)},
    {1, "Command12", rgb(255, 255, 128)}, {1, "Command10", kStandard}, {1, "Command11", kStandard},
    {6, "Command2", kYellow}, {6, "Command1", kRed},
    {10, "Command1(0)", kYellow}, {10, "Command1(1)", kYellow}, {10, "Command1(2)", kYellow},
    {10, "Command1(3)", kYellow}, {10, "Command1(4)", kYellow},
    {17, "Command2", rgb(128, 128, 255)}, {17, "Command1", kRed}, {17, "Command10", kStandard},
    {17, "Command11", kStandard},
    {2, "Command1", kYellow}, {3, "Command2", kYellow},
};

// Clear of the edge, the caption and the picture: near the four corners and
// halfway down both sides.
std::vector<QPoint> facePoints(const QRect& r) {
    const int in = 3;
    return {r.topLeft() + QPoint(in, in),           r.topRight() + QPoint(-in, in),
            r.bottomLeft() + QPoint(in, -in),       r.bottomRight() + QPoint(-in, -in),
            QPoint(r.left() + in, r.center().y()), QPoint(r.right() - in, r.center().y())};
}

bool near(const QColor& seen, ColourNumber want) {
    const auto close = [](int a, int b) { return std::abs(a - b) <= 8; };
    return close(seen.red(), redOf(want)) && close(seen.green(), greenOf(want)) && close(seen.blue(), blueOf(want));
}

struct ButtonFacesTest : ::testing::Test, AppHarness {};

}  // namespace

TEST_F(ButtonFacesTest, EveryButtonShowsItsDesignedColourUpAndHeldDown) {
    std::set<int> windows;
    for (const Designed& d : kButtons) windows.insert(d.form);
    for (const int number : windows) {
        Form& form = desktop.form(number);
        form.ensureLoaded();
        QWidget* client = form.clientWidget();
        ASSERT_NE(client, nullptr) << "Form" << number;
        const QList<QPushButton*> buttons = client->findChildren<QPushButton*>();
        for (QPushButton* button : buttons) {
            const std::string name = button->objectName().toStdString();
            EXPECT_TRUE(std::any_of(std::begin(kButtons), std::end(kButtons),
                                    [&](const Designed& d) { return d.form == number && d.button == name; }))
                << "Form" << number << " " << name << " is missing from the design table";
        }
        for (const bool down : {false, true}) {
            for (QPushButton* button : buttons) button->setDown(down);
            const QImage shot = client->grab().toImage();
            for (const Designed& d : kButtons) {
                if (d.form != number) continue;
                const auto* button = client->findChild<QPushButton*>(d.button);
                ASSERT_NE(button, nullptr) << "Form" << number << " " << d.button;
                int seenPoints = 0;
                for (const QPoint& p : facePoints(button->geometry())) {
                    if (client->childAt(p) != button) continue;  // under a button that overlaps it
                    ++seenPoints;
                    const QColor seen = shot.pixelColor(p);
                    EXPECT_TRUE(near(seen, d.face))
                        << "Form" << number << " " << d.button << (down ? " held down" : " up") << " at (" << p.x()
                        << ", " << p.y() << "): rgb(" << seen.red() << ", " << seen.green() << ", " << seen.blue()
                        << "), designed rgb(" << redOf(d.face) << ", " << greenOf(d.face) << ", " << blueOf(d.face)
                        << ")";
                }
                EXPECT_GE(seenPoints, 4) << "Form" << number << " " << d.button;
            }
        }
    }
}
