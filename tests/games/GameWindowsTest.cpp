// The three game windows on fake services: focus at first show, the ways back to
// the main window, and messages shown from inside a handler.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGraphicsProxyWidget>
#include <QLineEdit>
#include <QTest>
#include <functional>

#include "games/core/GameTexts.h"
#include "platform/ModalScope.h"
#include "tests/app/AppHarness.h"

using namespace games;
using platform::Form;
using testing_support::AppHarness;

namespace {

struct GameHarness : AppHarness {
    const std::vector<std::string>& shown() const { return fakes.message.shown; }

    // Opens a surprise game as ">>" does.
    void drawSurprise(int number) {
        fakes.random.script.clear();
        nextDraw(number, 38);
        w.form1.Command2->click();
    }
    // The trainer from ">>", with falls and letters as trainerDrawsOnlyZeros says.
    void openTrainer() {
        drawSurprise(38);
        trainerDrawsOnlyZeros();
    }
    void fillSquare(const std::array<const char*, 9>& texts) {
        for (std::size_t i = 0; i < texts.size(); ++i) (*w.form2.cells[i])->setText(texts[i]);
    }
    std::array<std::string, 9> squareTexts() {
        std::array<std::string, 9> texts;
        for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = (*w.form2.cells[i])->text();
        return texts;
    }

    // Every fall and every new letter of the trainer from now on is 0: letters
    // fall no further and come back as "б".
    void trainerDrawsOnlyZeros() { fakes.random.script.assign(200000, 0.0); }
    // Types the text between two ticks, then lets the next tick come.
    void nextTrainerTick(const std::string& typed = "") {
        w.form4.Text1->setText(typed);
        fakes.timers.advance(w.form4.Timer1->interval());
    }
    std::vector<std::uint32_t> canvasPixels() {
        const auto& pixels = w.form1.canvas.Picture1->pixels();
        return {pixels.data(), pixels.data() + static_cast<std::size_t>(pixels.width()) * pixels.height()};
    }
};

struct GameWindowsTest : ::testing::Test, GameHarness {};

}  // namespace

TEST_F(GameWindowsTest, EachGameFocusesItsFirstControlInTabOrderWhenFirstShown) {
    enterMainWindow();
    drawSurprise(36);
    EXPECT_TRUE(w.form2.Text1->hasFocus());
    w.form2.pressCloseBox();
    drawSurprise(37);
    EXPECT_TRUE(w.form3.Command2->hasFocus()) << "the child clicks into the answer box to type";
    EXPECT_FALSE(w.form3.Text1->hasFocus());
    w.form3.pressCloseBox();
    drawSurprise(38);
    EXPECT_TRUE(w.form4.Text1->hasFocus());
}

TEST_F(GameWindowsTest, SquareIsLaidOutAsAGridOfCentredCellsInItsFrame) {
    w.form2.show();
    for (std::size_t i = 0; i < 9; ++i) {
        const auto& cell = **w.form2.cells[i];
        EXPECT_EQ(cell.bounds(), (platform::twips(960 + 1920 * int(i % 3), 2520 + 1680 * int(i / 3), 1935, 1695)));
        EXPECT_EQ(cell.tabIndex(), int(i) + 1);
        EXPECT_EQ(static_cast<QLineEdit*>(cell.widget())->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    }
    // Each band of the frame lies above the larger one around it.
    const platform::Ctl<platform::Shape>* bands[] = {&w.form2.Shape1, &w.form2.Shape2, &w.form2.Shape3, &w.form2.Shape4,
                                                     &w.form2.Shape5, &w.form2.Shape6, &w.form2.Shape7};
    const QObjectList& stacking = w.form2.clientWidget()->children();
    for (std::size_t i = 0; i + 1 < std::size(bands); ++i) {
        const auto inner = (*bands[i])->bounds();
        const auto outer = (*bands[i + 1])->bounds();
        EXPECT_EQ(outer, (platform::Bounds{inner.left - 8, inner.top - 8, inner.width + 16, inner.height + 16}));
        EXPECT_GT(stacking.indexOf((*bands[i])->widget()), stacking.indexOf((*bands[i + 1])->widget()));
    }
}

TEST_F(GameWindowsTest, CheckingAFreshSquareAsksForNumbersOnceAndKeepsTheWindow) {
    enterMainWindow();
    drawSurprise(36);
    fakes.message.shown.clear();
    w.form2.Command1->click();
    EXPECT_EQ(shown(), (std::vector<std::string>{std::string(texts::kOnlyOneToNine)}));
    EXPECT_TRUE(w.form2.visible());
    EXPECT_EQ(squareTexts(), (std::array<std::string, 9>{}));
}

TEST_F(GameWindowsTest, SolvedSquareIsLeftAndComesBackWithItsNumbers) {
    enterMainWindow();
    drawSurprise(36);
    fillSquare({"2", "7", "5", "9", "5", "1", "4", "3", "8"});
    fakes.message.shown.clear();
    w.form2.Command1->click();
    EXPECT_EQ(shown(), (std::vector<std::string>{std::string(texts::kSameDigits), std::string(texts::kSquareWrong)}));
    EXPECT_TRUE(w.form2.visible());

    (*w.form2.cells[2])->setText("6");
    w.form2.Command1->click();
    EXPECT_EQ(shown().back(), texts::kSquareSolved);
    EXPECT_FALSE(w.form2.visible());
    EXPECT_TRUE(w.form2.loaded()) << "only hidden";
    EXPECT_TRUE(w.form1.visible());

    drawSurprise(36);
    EXPECT_TRUE(w.form2.visible());
    EXPECT_EQ(squareTexts(), (std::array<std::string, 9>{"2", "7", "6", "9", "5", "1", "4", "3", "8"}));
    w.form2.Command1->click();
    EXPECT_EQ(shown().back(), texts::kSquareSolved) << "solved again at once";
    EXPECT_TRUE(w.form1.visible());
}

TEST_F(GameWindowsTest, ExampleOpenedTwiceDrawsTwoNewPairs) {
    enterMainWindow();
    w.form1.Command9->click();
    fakes.random.script.assign({0.35, 0.45});  // 3 + 4
    w.form9.Command1->click();
    EXPECT_EQ(w.form3.Label1->caption(), "3");
    EXPECT_EQ(w.form3.Label2->caption(), "+");
    EXPECT_EQ(w.form3.Label3->caption(), "4");
    EXPECT_EQ(w.form3.Label4->caption(), "=");
    fakes.message.shown.clear();

    w.form3.Command2->click();  // empty: nothing happens
    EXPECT_TRUE(shown().empty());
    for (const char* answer : {"8", "   ", "семь"}) {
        w.form3.Text1->setText(answer);
        w.form3.Command2->click();
        EXPECT_EQ(shown().back(), texts::kAnswerWrong) << answer;
        EXPECT_TRUE(w.form3.visible());
        EXPECT_EQ(w.form3.Text1->text(), answer) << "the typed answer stays";
        EXPECT_EQ(w.form3.Label1->caption(), "3");
    }
    w.form3.Text1->setText("7,5");
    w.form3.Command2->click();
    EXPECT_EQ(shown().back(), texts::kAnswerRight);
    EXPECT_FALSE(w.form3.loaded());
    EXPECT_TRUE(w.form1.visible());
    EXPECT_FALSE(w.form9.visible());

    fakes.random.script.assign({36.5 / 38, 0.95, 0.05});  // ">>" draws 37, then 9 + 0
    w.form1.Command2->click();
    EXPECT_EQ(w.form3.Label1->caption(), "9");
    EXPECT_EQ(w.form3.Label3->caption(), "0");
    EXPECT_EQ(w.form3.Text1->text(), "") << "loaded afresh";
    EXPECT_GE(fakes.random.seeds, 3) << "seeded at each load";
}

TEST_F(GameWindowsTest, TrainerWonAtFiftySevenSecondsSaysSoAndReturnsToTheMainWindow) {
    enterMainWindow();
    trainerDrawsOnlyZeros();
    w.form1.Command9->click();
    w.form9.Command2->click();
    ASSERT_TRUE(w.form4.visible());
    EXPECT_EQ(w.form4.Timer1->interval(), 50);
    EXPECT_EQ(w.form4.Timer2->interval(), 1000);

    nextTrainerTick();  // the first tick misses the three lowest letters
    EXPECT_EQ(w.form4.state().barHeight, 465);
    EXPECT_EQ(w.form4.Label1(1).caption(), "б");
    EXPECT_EQ(w.form4.Label1(1).top(), 0);
    const int bottom = w.form4.Shape1->top() + w.form4.Shape1->height();
    for (int i = 0; i < 12; ++i) nextTrainerTick("б");  // three letters hit at a time
    EXPECT_EQ(w.form4.state().barHeight, 465 + 12 * 600);
    EXPECT_EQ(w.form4.Shape1->top() + w.form4.Shape1->height(), bottom) << "the bar grows upwards";
    EXPECT_EQ(w.form4.Shape1->height(), bottom - platform::twipsToPixels(8295 - 7665));
    EXPECT_EQ(w.form4.Text1->text(), "") << "emptied at each tick";

    fakes.timers.advance(int(57500 - fakes.timers.now()));
    EXPECT_TRUE(shown().empty() || shown().back() != texts::kLost);
    fakes.message.shown.clear();
    nextTrainerTick("б");
    EXPECT_EQ(shown(), (std::vector<std::string>{"Отлично!Пройдено за  57 секунд"}));
    EXPECT_FALSE(w.form4.loaded());
    EXPECT_TRUE(w.form1.visible());
    fakes.timers.advance(5000);
    EXPECT_EQ(shown().size(), 1u) << "no later tick decides the game again";
}

// The input box takes every key, whatever the child clicked in the window
// before: its background, a falling letter, the score bar or the divider.
TEST_F(GameWindowsTest, TrainerKeepsTheKeysInItsBoxAfterAClickAnywhereInItsWindow) {
    platform::Stage& stage = desktop.stage();
    stage.show();
    QApplication::setActiveWindow(&stage);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&stage));
    enterMainWindow();
    openTrainer();
    nextTrainerTick();  // the lowest letters come back at the top as "б"
    ASSERT_EQ(w.form4.Label1(1).caption(), "б");

    // Each press goes to the stage where the point of the trainer's client area shows.
    const auto click = [&](QPoint inClient) {
        QWidget* client = w.form4.clientWidget();
        const QPointF onStage = client->window()->graphicsProxyWidget()->mapToScene(client->mapTo(client->window(), inClient));
        QTest::mouseClick(stage.viewport(), Qt::LeftButton, {}, stage.mapFromScene(onStage));
    };
    const auto centre = [](const platform::Control& c) { return QPoint(c.left() + c.width() / 2, c.top() + c.height() / 2); };
    const std::pair<const char*, std::function<QPoint()>> places[] = {
        {"the background", [] { return QPoint(20, 20); }},
        {"a falling letter", [&] { return centre(w.form4.Label1(2)); }},
        {"the score bar", [&] { return centre(*w.form4.Shape1); }},
        {"the divider", [&] { return QPoint(w.form4.Line1->x1(), 300); }},
    };
    for (const auto& [place, where] : places) {
        click(where());
        const int bar = w.form4.state().barHeight;
        QTest::sendKeyEvent(QTest::Click, stage.windowHandle(), Qt::Key(0x411), QString::fromUtf8("б"), Qt::NoModifier);
        fakes.timers.advance(w.form4.Timer1->interval());
        EXPECT_GT(w.form4.state().barHeight, bar) << "no hit after a click on " << place;
        EXPECT_TRUE(w.form4.Text1->hasFocus()) << place;
    }
}

TEST_F(GameWindowsTest, TrainerLostSaysSoAndReturnsToTheMainWindowWithItsDrawing) {
    enterMainWindow();
    w.form1.canvas.Picture1->setPixel(10, 10, platform::rgb(0, 0, 255));
    const auto drawing = canvasPixels();
    openTrainer();
    fakes.message.shown.clear();
    nextTrainerTick();
    for (int i = 0; i < 4; ++i) nextTrainerTick("x");  // 465 - 4 * 100 = 65
    EXPECT_EQ(shown(), (std::vector<std::string>{std::string(texts::kLost)}));
    EXPECT_FALSE(w.form4.loaded());
    EXPECT_FALSE(desktop.ended());
    EXPECT_TRUE(w.form1.visible());
    EXPECT_EQ(canvasPixels(), drawing);
    EXPECT_EQ(w.form1.canvas.Picture1->pixel(10, 10), platform::rgb(0, 0, 255));
}

TEST_F(GameWindowsTest, ResultMessageInsideATickWaitsSafelyWhileTimersRunOn) {
    enterMainWindow();
    openTrainer();
    nextTrainerTick();
    ASSERT_TRUE(w.form4.visible());
    int messagesWhileUp = -1;
    bool loadedWhileUp = false;
    const int musicBefore = count("play fon.mid");
    fakes.message.onMessage = [&](const std::string&) {
        // The box is up: a nested loop runs, timers fire, deferred work waits.
        const platform::ModalScope nested;
        fakes.timers.advance(4000);
        settle();
        messagesWhileUp = int(shown().size());
        loadedWhileUp = w.form4.loaded();
    };
    for (int i = 0; i < 4; ++i) nextTrainerTick("x");
    fakes.message.onMessage = nullptr;
    EXPECT_EQ(messagesWhileUp, 1) << "no tick while the message is up decides the game again: "
                                  << ::testing::PrintToString(shown());
    EXPECT_TRUE(loadedWhileUp);
    EXPECT_GT(count("play fon.mid"), musicBefore) << "the main window's timers go on";
    settle();
    EXPECT_FALSE(w.form4.loaded());
    EXPECT_TRUE(w.form1.visible());
    EXPECT_EQ(shown().size(), 1u);
}

TEST_F(GameWindowsTest, AWindowThatGoesAwayWhileItsMessageIsUpIsNotBroughtBack) {
    // The program ends while a game's message is up: the handler that showed it
    // must neither load its window again nor show the main window.
    struct Case {
        const char* what;
        std::function<void(GameHarness&)> play;
    };
    const Case cases[] = {
        {"square solved",
         [](GameHarness& t) {
             t.drawSurprise(36);
             t.fillSquare({"2", "7", "6", "9", "5", "1", "4", "3", "8"});
             t.w.form2.Command1->click();
         }},
        {"example right",
         [](GameHarness& t) {
             t.fakes.random.script.assign({36.5 / 38, 0.05, 0.05});
             t.w.form1.Command2->click();
             t.w.form3.Text1->setText("0");
             t.w.form3.Command2->click();
         }},
        {"trainer lost",
         [](GameHarness& t) {
             t.openTrainer();
             t.nextTrainerTick();
             for (int i = 0; i < 4; ++i) t.nextTrainerTick("x");
         }},
    };
    for (const Case& c : cases) {
        GameHarness t;
        t.enterMainWindow();
        int messages = 0;
        t.fakes.message.onMessage = [&](const std::string&) {
            ++messages;
            const platform::ModalScope nested;
            t.desktop.endProgram();
            t.fakes.timers.advance(2000);
            settle();
        };
        c.play(t);
        t.fakes.message.onMessage = nullptr;
        settle();
        EXPECT_EQ(messages, 1) << c.what;
        EXPECT_TRUE(t.desktop.ended()) << c.what;
        for (const auto& [number, form] : t.desktop.forms()) {
            EXPECT_FALSE(form->loaded()) << c.what << ": Form" << number;
        }
    }
}

TEST_F(GameWindowsTest, TheMusicGoesOnWhileAGameIsUpAndTheGamesMakeNoSoundOfTheirOwn) {
    enterMainWindow();
    fakes.timers.advance(3600);  // the first resend; from here on one every five ticks
    for (int game : {36, 37, 38}) {
        drawSurprise(game);
        trainerDrawsOnlyZeros();
        Form& shownGame = desktop.form(game - 34);
        fakes.multimedia.commands.clear();
        fakes.timers.advance(6000);  // ten ticks of the music timer
        EXPECT_EQ(fakes.multimedia.commands, (std::vector<std::string>{"play fon.mid", "play fon.mid"})) << game;
        ASSERT_TRUE(shownGame.visible()) << game;
        shownGame.pressCloseBox();
    }
}
