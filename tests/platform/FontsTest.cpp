// The free faces that stand in for the design faces: installed, not silently
// substituted, with every character the program shows in them; sizes fixed in
// pixels; symbol-face ornaments shown as Unicode ornaments.
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRawFont>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "app/pages/HelpTexts.h"
#include "platform/Font.h"
#include "platform/ProgramFonts.h"
#include "platform/fakes/Fakes.h"

using namespace platform;

namespace {

const char* const kDesignFaces[] = {"MS Sans Serif",    "Arial",    "Arial Black",    "Palatino Linotype",
                                    "Monotype Corsiva", "Garamond", "Lucida Console", "Comic Sans MS",
                                    "Wingdings 2"};

// Whatever a window or a file may put into any face: picture and tale titles
// come from files, so the whole alphabet and the usual punctuation.
const char* const kAnyText[] = {
    "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ",
    "абвгдеёжзийклмнопрстуфхцчшщъыьэюя",
    "0123456789",
    "«» — … № . , : ; ! ? - ( ) * \" ' < > / +",
};

struct ShownTexts {
    const char* face;
    std::vector<const char*> texts;
};

// The program's own captions, titles and labels, by the face they are shown in.
const ShownTexts kShown[] = {
    {"MS Sans Serif",
     {"Примеры", "Клавиатурный тренажер", "Назад", "Выход", "выход", ">>", "Редактировать", "Проверить",
      "очистка рисунка", "сохранить в галерею рисунков", "галерея рисунков", "печать рисунка", "создать свой рисунок",
      " напечатать сказку", "переменка", "Мой рисунок", "(рисунок не читается)",
      "Перед нажатием на эти кнопки необходимо установить разрешение экрана 1280 * 1024"}},
    {"Palatino Linotype",
     {"Начало игры и заливка",
      "Рисование круга, прямоугольника и карандашом",
      "Сохранение рисунков и создание своего собственного рисунка",
      "Просмотр галереи и печать рисунков",
      "Сказки",
      "Мини-игры",
      "Назад",
      "В игру !!!",
      "Об игре",
      "Инструкции",
      "ПЯТНУШКИ",
      "пятнушки",
      "pyatnushki.html",
      "Змея, лиса и обезьяна",
      "Лиса и кувшин",
      "Петух и собака",
      "Лиса и  тетерев",
      "Как лиса училась летать",
      "Дальше",
      "Выход"}},
    {"Arial Black", {"ПЯТНУШКИ", "ХУДОЖНИКАМ"}},
    {"Comic Sans MS", {"Нажмите кнопку -->>", "Мой рисунок"}},
    {"Arial",
     {"Переменка", "Добро пожаловать", "Нажимай буквы на клавиатуре, которые есть слева", "Загадка",
      "Реши пример, чтобы убрать это окошко"}},
};

struct Style {
    const char* name;
    bool bold, italic;
};
const Style kStyles[] = {
    {"regular", false, false}, {"bold", true, false}, {"italic", false, true}, {"bold italic", true, true}};

Font fontOf(const char* face, const Style& style, double points = 12) {
    return Font{.face = face, .points = points, .bold = style.bold, .italic = style.italic};
}

QString missingIn(const QRawFont& raw, const QString& text) {
    QString missing;
    for (char32_t c : text.toUcs4())
        if (!raw.supportsCharacter(c)) missing += QString::fromUcs4(&c, 1);
    return missing;
}

// How much black a line of text puts down: a heavier face puts down more.
long ink(const QFont& font, const QString& text) {
    QImage image(600, 60, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.drawText(4, 40, text);
    painter.end();
    long sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) sum += 255 - qGray(image.pixel(x, y));
    return sum;
}

}  // namespace

// Qt adds the foundry, "P052 [UKWN]", only where two foundries share a name;
// the program's own fonts hold one.
std::string withoutFoundry(const QString& family) { return family.section(" [", 0, 0).toStdString(); }

TEST(FontsFreeFaces, AreInstalledAndDrawnAsThemselvesInEveryStyle) {
    QStringList installed;
    for (const QString& family : QFontDatabase::families()) installed << QString::fromStdString(withoutFoundry(family));
    for (const char* face : kDesignFaces) {
        for (const Style& style : kStyles) {
            const QString family = familyFor(face, style.italic);
            EXPECT_TRUE(installed.contains(QString::fromStdString(withoutFoundry(family))))
                << face << " maps to " << family.toStdString() << ", not installed";
            EXPECT_EQ(withoutFoundry(QFontInfo(toQFont(fontOf(face, style))).family()), withoutFoundry(family))
                << face << " " << style.name << " is drawn in another face";
        }
    }
}

TEST(FontsFreeFaces, HaveEveryCharacterTheProgramShowsInThem) {
    for (const char* face : kDesignFaces) {
        std::vector<const char*> texts(std::begin(kAnyText), std::end(kAnyText));
        for (const ShownTexts& shown : kShown)
            if (std::string(shown.face) == face) texts.insert(texts.end(), shown.texts.begin(), shown.texts.end());
        for (const Style& style : kStyles) {
            const QRawFont raw = QRawFont::fromFont(toQFont(fontOf(face, style)));
            ASSERT_TRUE(raw.isValid()) << face << " " << style.name;
            for (const char* text : texts) {
                const QString missing = missingIn(raw, QString::fromUtf8(text));
                EXPECT_TRUE(missing.isEmpty()) << face << " " << style.name << " (" << raw.familyName().toStdString()
                                               << ") lacks \"" << missing.toStdString() << "\" of \"" << text << "\"";
            }
        }
    }
}

// A letter as the face draws it, large enough that two different letters
// never come out as the same picture.
QImage glyphImage(const QFont& face, QChar letter) {
    QFont font = face;
    font.setPixelSize(48);
    QImage image(96, 80, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(16, 60, QString(letter));
    painter.end();
    return image;
}

// Every letter of the alphabet drawn as itself: some free faces draw one
// Cyrillic letter with another's glyph in a style (P052 Italic draws "н" as
// "и" and "м" as "л"), which no test of mere coverage would notice.
TEST(FontsFreeFaces, DrawEveryCyrillicLetterUnlikeEveryOtherInEveryStyle) {
    for (const char* face : kDesignFaces) {
        for (const Style& style : kStyles) {
            const QFont font = toQFont(fontOf(face, style));
            for (const char* alphabet : {kAnyText[0], kAnyText[1]}) {
                const QString letters = QString::fromUtf8(alphabet);
                ASSERT_EQ(letters.size(), 33);
                std::vector<QImage> glyphs;
                for (QChar letter : letters) glyphs.push_back(glyphImage(font, letter));
                for (int i = 0; i < 33; ++i)
                    for (int j = i + 1; j < 33; ++j)
                        EXPECT_NE(glyphs[i], glyphs[j])
                            << face << " " << style.name << " (" << QFontInfo(font).family().toStdString()
                            << ") draws \"" << QString(letters[i]).toStdString() << "\" and \""
                            << QString(letters[j]).toStdString() << "\" alike";
            }
        }
    }
}

// The letter cut to its ink and scaled to a small square: the shape a reader
// recognises, whatever the face's width, slant and weight.
QImage letterShape(const QFont& face, QChar letter) {
    QImage shape = glyphImage(face, letter);
    int left = shape.width(), top = shape.height(), right = -1, bottom = -1;
    for (int y = 0; y < shape.height(); ++y)
        for (int x = 0; x < shape.width(); ++x)
            if (qGray(shape.pixel(x, y)) < 128) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    if (right < 0) return {};
    return shape.copy(left, top, right - left + 1, bottom - top + 1)
        .scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

double unlikeness(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) sum += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
    return sum;
}

// Distinct glyphs are not enough: P052 Italic draws "н" with the diagonal of
// "и" and "м" with the strokes of "л", distinct pictures that read as the wrong
// letters. Each letter of the italic the tale pages and titles are set in must
// look most like the same letter of another serif italic with right Cyrillic.
TEST(FontsFreeFaces, ItalicSerifLettersReadAsThemselves) {
    const QString letters = QString::fromUtf8("нимлптш");
    const QStringList serifs = {"DejaVu Serif", "Liberation Serif"};  // fonts-dejavu-core, fonts-liberation2
    for (const Style& style : kStyles) {
        if (!style.italic) continue;
        const QFont font = toQFont(fontOf("Palatino Linotype", style));
        const QString family = QFontInfo(font).family();
        for (QChar letter : letters) {
            const QImage shape = letterShape(font, letter);
            ASSERT_FALSE(shape.isNull()) << style.name;
            std::vector<double> unlike(letters.size(), 0);
            for (const QString& serif : serifs) {
                if (serif == family) continue;
                QFont reference(serif);
                reference.setItalic(true);
                reference.setBold(style.bold);
                for (int i = 0; i < letters.size(); ++i) unlike[i] += unlikeness(shape, letterShape(reference, letters[i]));
            }
            const auto closest = letters[std::min_element(unlike.begin(), unlike.end()) - unlike.begin()];
            EXPECT_EQ(closest, letter) << "Palatino Linotype " << style.name << " (" << family.toStdString() << ") draws \""
                                       << QString(letter).toStdString() << "\" like \"" << QString(closest).toStdString()
                                       << "\"";
        }
    }
}

TEST(FontsFreeFaces, HaveEveryCharacterOfTheAboutAndHelpTexts) {
    using namespace pages;
    const std::pair<const char*, std::vector<std::string>> shown[] = {
        {"Monotype Corsiva", {kAboutText}},
        {"Palatino Linotype",
         {kStartText, kFillText, kShapesText, kPencilText, kSavingText, kOwnPictureText, kGalleryText, kPrintingText,
          kTalesText, kMiniGamesText, "Начало игры", "Заливка", "Рисование круга и прямоугольника",
          "Рисование карандашом", "Сохранение рисунков в галерею", "Создание собственного рисунка",
          "Просмотр галереи рисунков", "Печать рисунка", "Об игре", "Пятнушки"}},
    };
    for (const auto& [face, texts] : shown) {
        for (const Style& style : kStyles) {
            const QRawFont raw = QRawFont::fromFont(toQFont(fontOf(face, style)));
            for (const std::string& text : texts) {
                const QString missing = missingIn(raw, QString::fromStdString(text));
                EXPECT_TRUE(missing.isEmpty()) << face << " " << style.name << " lacks \"" << missing.toStdString()
                                               << "\" of \"" << text.substr(0, 60) << "\"";
            }
        }
    }
}

// A bold face without Cyrillic is avoided by emboldening the regular one; bold
// must still look bold.
TEST(FontsFreeFaces, BoldIsHeavierThanRegular) {
    const QString text = QString::fromUtf8("Жёлтый жук съел щи");
    for (const char* face : kDesignFaces) {
        if (std::string(face) == "Arial Black") continue;  // always at its heaviest
        for (bool italic : {false, true}) {
            const long regular = ink(toQFont({.face = face, .points = 12, .italic = italic}), text);
            const long bold = ink(toQFont({.face = face, .points = 12, .bold = true, .italic = italic}), text);
            EXPECT_GT(bold, regular * 115 / 100) << face << (italic ? " italic" : "");
        }
    }
}

TEST(FontsPixelSizes, AreDesignPointsAt96DotsPerInch) {
    const struct {
        const char* face;
        double points;
        int pixels;
    } cases[] = {{"Arial", 12, 16},           {"MS Sans Serif", 8.25, 11},      {"MS Sans Serif", 9.75, 13},
                 {"Arial Black", 99.75, 133}, {"Palatino Linotype", 23.25, 31}, {"Arial", 0.1, 1}};
    for (const auto& c : cases) {
        const QFont font = toQFont({.face = c.face, .points = c.points});
        EXPECT_EQ(font.pixelSize(), c.pixels) << c.face << " " << c.points;
        EXPECT_EQ(QFontInfo(font).pixelSize(), c.pixels) << c.face << " " << c.points;
    }
    if (qEnvironmentVariableIntValue("QT_FONT_DPI") == 72) {
        QFont points("Liberation Sans");
        points.setPointSize(12);
        EXPECT_EQ(QFontInfo(points).pixelSize(), 12) << "the setting must take effect, or this run proves nothing";
    }
}

TEST(FontsPixelSizes, StayWhenTheFontDpiSettingDiffers) {
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_FONT_DPI", "72");
    run.setProcessEnvironment(env);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(QCoreApplication::applicationFilePath(),
              {"--gtest_filter=FontsPixelSizes.AreDesignPointsAt96DotsPerInch"});
    ASSERT_TRUE(run.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(run.readAll());
    EXPECT_EQ(run.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

TEST(FontsDisplayText, ShowsWingdingsOrnamentsAsUnicodeOrnamentsOnlyForThatFace) {
    const Font wingdings{.face = "Wingdings 2", .points = 24};
    EXPECT_EQ(displayText(wingdings, "d    b").toStdString(), "❧\u2003\u2003\u2003\u2003☙");
    EXPECT_EQ(displayText(wingdings, "d      b").toStdString(), "❧\u2003\u2003\u2003\u2003\u2003\u2003☙");
    for (const char* face : kDesignFaces) {
        if (std::string(face) == "Wingdings 2") continue;
        EXPECT_EQ(displayText({.face = face}, "d    b").toStdString(), "d    b") << face;
        EXPECT_EQ(displayText({.face = face}, "Добавить db").toStdString(), "Добавить db") << face;
    }
    for (const Style& style : kStyles) {
        const QRawFont raw = QRawFont::fromFont(toQFont(fontOf("Wingdings 2", style, 24)));
        EXPECT_TRUE(missingIn(raw, displayText(wingdings, "d b")).isEmpty()) << style.name;
    }
}

TEST(FontsDisplayText, ControlsShowOrnamentsButKeepTheDesignCaption) {
    fakes::FakeServices fakes;
    Services services = fakes.services();
    QWidget window;
    const Font wingdings{.face = "Wingdings 2", .points = 24};
    Label label({&window, "Label1", services}, LabelDesign{.caption = "d    b", .font = wingdings});
    CommandButton button({&window, "Command1", services}, ButtonDesign{.caption = "d    b", .font = wingdings});
    auto shown = [](const Control& c) {
        if (auto* l = qobject_cast<QLabel*>(c.widget())) return l->text().toStdString();
        return qobject_cast<QPushButton*>(c.widget())->text().toStdString();
    };

    EXPECT_EQ(shown(label), "❧\u2003\u2003\u2003\u2003☙");
    EXPECT_EQ(shown(button), "❧\u2003\u2003\u2003\u2003☙");
    EXPECT_EQ(label.caption(), "d    b");
    EXPECT_EQ(button.caption(), "d    b");

    label.setCaption("d      b");
    button.setCaption("d      b");
    EXPECT_EQ(shown(label), "❧\u2003\u2003\u2003\u2003\u2003\u2003☙");
    EXPECT_EQ(shown(button), "❧\u2003\u2003\u2003\u2003\u2003\u2003☙");
    EXPECT_EQ(label.caption(), "d      b");

    // Another face shows the letters themselves again.
    label.setFont({.face = "Arial", .points = 12});
    button.setFont({.face = "Arial", .points = 12});
    EXPECT_EQ(shown(label), "d      b");
    EXPECT_EQ(shown(button), "d      b");
    EXPECT_EQ(button.caption(), "d      b");
}

// The program reads only the free faces' folders; where one face is missing
// there, fontconfig keeps the desktop's configuration rather than a set that
// would draw a design face in some other face.
TEST(ProgramFonts, AreUsedOnlyWhenEveryFaceIsThere) {
    std::vector<std::string> withoutRoboto = programFontFolders();
    std::erase_if(withoutRoboto, [](const std::string& folder) { return folder.find("roboto") != std::string::npos; });
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"no folder", {}},
        {"a folder that is not there", {"/nonexistent/fonts"}},
        {"Roboto's folder left out", withoutRoboto},
    };
    FcConfig* const before = FcConfigGetCurrent();
    for (const auto& [name, folders] : cases) {
        EXPECT_FALSE(useProgramFonts(folders)) << name;
        EXPECT_EQ(FcConfigGetCurrent(), before) << name;
    }
    EXPECT_EQ(withoutRoboto.size() + 1, programFontFolders().size());
}
