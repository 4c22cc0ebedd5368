#include "platform/Font.h"

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <map>

namespace platform {

namespace {

struct FreeFace {
    QString family;
    // Its bold face lacks Cyrillic, so the regular face is emboldened instead.
    bool emboldenRegular = false;
    // Italic and bold italic come from this face when the family's own italic
    // draws Cyrillic letters wrongly.
    QString italicFamily = {};
};

// Design face -> installed free face with every Cyrillic glyph, closest in
// look and width. The URW faces also come as Type 1 files under another
// foundry; the OpenType ones ("[UKWN]") are pinned so that every style of a
// face is drawn from the same files.
const std::map<std::string, FreeFace>& freeFaces() {
    static const std::map<std::string, FreeFace> faces = {
        {"MS Sans Serif", {"Liberation Sans"}},    // fonts-liberation2
        {"Arial", {"Liberation Sans"}},            // fonts-liberation2, Arial's metrics
        // fonts-roboto-unhinted, in its Black weight (below): a heavy display
        // face with every Cyrillic letter, narrow enough for the welcome title.
        {"Arial Black", {"Roboto"}},
        // fonts-urw-base35, Palatino's metrics. Its italic draws "н" as "и" and
        // "м" as "л"; Liberation Serif Italic (fonts-liberation2) reads right and,
        // at the tale page's 19 px, sets 22 px lines about as wide as Palatino's.
        {"Palatino Linotype", {"P052 [UKWN]", false, "Liberation Serif"}},
        {"Monotype Corsiva", {"Z003 [UKWN]"}},     // fonts-urw-base35, a chancery italic
        {"Garamond", {"EB Garamond 12", true}},    // fonts-ebgaramond
        {"Lucida Console", {"DejaVu Sans Mono"}},  // fonts-dejavu-core
        {"Comic Sans MS", {"Andika"}},             // fonts-sil-andika: no comic hand has Cyrillic
        {"Wingdings 2", {"DejaVu Sans"}},          // fonts-dejavu-core, for its ornaments
    };
    return faces;
}

const FreeFace* freeFaceFor(const std::string& face) {
    const auto it = freeFaces().find(face);
    return it != freeFaces().end() ? &it->second : nullptr;
}

}  // namespace

QStringList freeFamilies() {
    QStringList families;
    for (const auto& [face, free] : freeFaces()) families << free.family << free.italicFamily;
    families.removeAll(QString());
    families.removeDuplicates();
    return families;
}

QString familyFor(const std::string& face, bool italic) {
    const FreeFace* free = freeFaceFor(face);
    if (!free) return QString::fromStdString(face);
    return italic && !free->italicFamily.isEmpty() ? free->italicFamily : free->family;
}

QFont toQFont(const Font& font) {
    const FreeFace* free = freeFaceFor(font.face);
    QFont q(familyFor(font.face, font.italic));
    q.setPixelSize(std::max(1, static_cast<int>(std::lround(font.points * 96.0 / 72.0))));
    q.setBold(font.bold);
    q.setItalic(font.italic);
    q.setUnderline(font.underline);
    if (font.face == "Arial Black") q.setWeight(QFont::Black);
    if (font.stretch != 100) q.setStretch(font.stretch);
    // Naming the style keeps Qt from choosing the bold face; asked for bold
    // weight, it then emboldens the regular one (below 64 pixels).
    if (font.bold && free && free->emboldenRegular) q.setStyleName(font.italic ? "Italic" : "Regular");
    return q;
}

FontsAhead::FontsAhead() : reading_([] { QFontDatabase::families(); }) {}

FontsAhead::~FontsAhead() { reading_.join(); }

QString displayText(const Font& font, const std::string& caption) {
    QString text = QString::fromStdString(caption);
    if (font.face != "Wingdings 2") return text;
    // Wingdings 2 draws "d" and "b" as a floral ornament and its mirror, and its
    // blank is about as wide as the font is high: an em space keeps the ornaments
    // as far apart as the layout expects.
    text.replace(QChar(u'd'), QChar(0x2767));  // ❧ rotated floral heart
    text.replace(QChar(u'b'), QChar(0x2619));  // ☙ reversed rotated floral heart
    text.replace(QChar(u' '), QChar(0x2003));
    return text;
}

}  // namespace platform
