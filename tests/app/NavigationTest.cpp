// Every way from one window to another.
#include <gtest/gtest.h>

#include "tests/app/AppHarness.h"

using platform::Form;
using testing_support::AppHarness;
using testing_support::zOrder;

namespace {

struct NavigationTest : ::testing::Test, AppHarness {
    void expectShownInFront(const Form& form) {
        EXPECT_TRUE(form.visible()) << "Form" << form.number();
        for (const auto& [number, other] : desktop.forms()) {
            if (other != &form && other->visible()) {
                EXPECT_GT(zOrder(form), zOrder(*other)) << "Form" << number;
            }
        }
    }
};

}  // namespace

TEST_F(NavigationTest, WelcomeWindowLeadsIntoTheMainWindowAndTheAboutPage) {
    w.form5.show();
    w.form5.Command1->click();
    EXPECT_FALSE(w.form5.visible());
    EXPECT_TRUE(w.form5.loaded());
    expectShownInFront(w.form1);

    w.form1.hide();
    w.form5.show();
    w.form5.Command3->click();
    EXPECT_FALSE(w.form5.visible());
    expectShownInFront(w.form7);
    w.form7.Command1->click();
    EXPECT_FALSE(w.form7.visible());
    EXPECT_TRUE(w.form7.loaded());
    expectShownInFront(w.form5);
}

TEST_F(NavigationTest, InstructionsOpenInFrontOfTheStillVisibleWelcomeWindowAndReturnWithoutReloadingIt) {
    w.form5.show();
    w.form5.Command4->click();
    EXPECT_TRUE(w.form5.visible());
    expectShownInFront(w.form8);
    const auto gateMessages = fakes.message.shown.size();

    w.form8.Command7->click();
    EXPECT_FALSE(w.form8.visible());
    expectShownInFront(w.form5);
    EXPECT_EQ(fakes.message.shown.size(), gateMessages);
}

TEST_F(NavigationTest, EachInstructionButtonOpensItsHelpPageWhoseBackButtonReturnsToTheMenu) {
    w.form5.show();
    const std::pair<platform::Ctl<platform::CommandButton>*, Form*> rows[] = {
        {&w.form8.Command1, &w.form11}, {&w.form8.Command2, &w.form12}, {&w.form8.Command3, &w.form13},
        {&w.form8.Command4, &w.form14}, {&w.form8.Command5, &w.form15}, {&w.form8.Command6, &w.form16},
    };
    const std::array<platform::Ctl<platform::CommandButton>*, 6> backs = {
        &w.form11.Command1, &w.form12.Command1, &w.form13.Command1,
        &w.form14.Command1, &w.form15.Command1, &w.form16.Command1};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        w.form5.Command4->click();
        (*rows[i].first)->click();
        EXPECT_FALSE(w.form8.visible()) << "page " << i;
        expectShownInFront(*rows[i].second);
        (*backs[i])->click();
        EXPECT_FALSE(rows[i].second->visible());
        EXPECT_TRUE(rows[i].second->loaded()) << "help pages are only hidden";
        expectShownInFront(w.form8);
        w.form8.Command7->click();
    }
}

TEST_F(NavigationTest, NextPictureOpensASurpriseGameOnlyForTheLastThreeNumbers) {
    enterMainWindow();
    for (int draw : {1, 17, 35}) {  // pictures: the main window stays (here with no picture files)
        nextDraw(draw, 38);
        w.form1.Command2->click();
        EXPECT_TRUE(w.form1.visible()) << draw;
    }
    const std::pair<int, Form*> surprises[] = {{36, &w.form2}, {37, &w.form3}, {38, &w.form4}};
    for (auto [draw, game] : surprises) {
        nextDraw(draw, 38);
        w.form1.Command2->click();
        EXPECT_FALSE(w.form1.visible()) << draw;
        EXPECT_EQ(w.form1.PictureNumber, draw);
        expectShownInFront(*game);
        game->pressCloseBox();
        EXPECT_TRUE(w.form1.visible());
    }
}

TEST_F(NavigationTest, GalleryAndTaleChooserOpenInFrontOfTheVisibleMainWindow) {
    enterMainWindow();
    w.form1.Command4->click();
    expectShownInFront(w.form6);
    EXPECT_TRUE(w.form1.visible());
    w.form6.Command1->click();  // "Выход" closes the gallery
    EXPECT_FALSE(w.form6.loaded());
    EXPECT_TRUE(w.form1.visible());

    w.form1.Command4->click();
    w.form6.Command2->click();  // "Редактировать" only hides it
    EXPECT_TRUE(w.form6.loaded());
    EXPECT_FALSE(w.form6.visible());
    expectShownInFront(w.form1);

    w.form1.Command7->click();
    expectShownInFront(w.form10);
    EXPECT_TRUE(w.form1.visible());
}

TEST_F(NavigationTest, ChoosingATaleHidesChooserAndMainWindowAndHandsOverTheTaleNumber) {
    enterMainWindow();
    w.form1.Label2->setCaption("рисунок до сказки");
    for (int index = 0; index < 5; ++index) {
        w.form1.Command7->click();
        w.form10.Command1(index).click();
        EXPECT_FALSE(w.form10.visible());
        EXPECT_TRUE(w.form10.loaded()) << "the chooser stays loaded for the tale window to read";
        EXPECT_FALSE(w.form1.visible());
        EXPECT_EQ(w.form10.Label4->caption(), std::to_string(index + 1));
        expectShownInFront(w.form17);

        w.form17.Command1->click();  // "Выход"
        EXPECT_FALSE(w.form17.loaded());
        expectShownInFront(w.form1);
        EXPECT_EQ(w.form1.Label2->caption(), "рисунок до сказки") << "the main window is as it was left";
    }
}

TEST_F(NavigationTest, RecessMenuOpensTheGamesAndLeadsBackToTheMainWindow) {
    enterMainWindow();
    w.form1.Command9->click();
    EXPECT_FALSE(w.form1.visible());
    expectShownInFront(w.form9);

    w.form9.Command1->click();
    EXPECT_FALSE(w.form9.visible());
    EXPECT_TRUE(w.form9.loaded());
    expectShownInFront(w.form3);
    w.form3.pressCloseBox();
    expectShownInFront(w.form1);
    EXPECT_TRUE(w.form9.loaded()) << "the recess menu stays loaded and hidden";

    w.form1.Command9->click();
    w.form9.Command2->click();
    expectShownInFront(w.form4);
    w.form4.pressCloseBox();
    expectShownInFront(w.form1);

    w.form1.Command9->click();
    w.form9.Command3->click();  // "Назад"
    EXPECT_FALSE(w.form9.visible());
    expectShownInFront(w.form1);
}

TEST_F(NavigationTest, CloseBoxesNeverLeaveTheProgramRunningWithNoWindowVisible) {
    enterMainWindow();
    // The square is only hidden; the example and the trainer are unloaded.
    const std::pair<Form*, bool> games[] = {{&w.form2, true}, {&w.form3, false}, {&w.form4, false}};
    for (auto [game, staysLoaded] : games) {
        w.form1.hide();
        game->show();
        game->pressCloseBox();
        EXPECT_EQ(game->loaded(), staysLoaded) << "Form" << game->number();
        expectShownInFront(w.form1);
    }
    w.form1.Command9->click();
    w.form9.pressCloseBox();
    EXPECT_FALSE(w.form9.visible());
    expectShownInFront(w.form1);

    w.form1.hide();
    w.form5.show();
    w.form5.pressCloseBox();
    EXPECT_TRUE(desktop.ended());
    for (const auto& [number, form] : desktop.forms()) EXPECT_FALSE(form->loaded()) << "Form" << number;
}
