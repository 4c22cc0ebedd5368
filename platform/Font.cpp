#include "platform/Font.h"

#include <cmath>
#include <map>

namespace platform {

QString familyFor(const std::string& face) {
    // Design face -> installed free face with Cyrillic glyphs, closest in look.
    static const std::map<std::string, QString> faces = {
        {"MS Sans Serif", "Liberation Sans"},   {"Arial", "Liberation Sans"},
        {"Arial Black", "DejaVu Sans"},         {"Palatino Linotype", "P052"},
        {"Lucida Console", "DejaVu Sans Mono"}, {"Monotype Corsiva", "Z003"},
        {"Garamond", "C059"},                   {"Comic Sans MS", "URW Gothic"},
        {"Wingdings 2", "DejaVu Sans"},
    };
    const auto it = faces.find(face);
    return it != faces.end() ? it->second : QString::fromStdString(face);
}

QFont toQFont(const Font& font) {
    QFont q(familyFor(font.face));
    q.setPixelSize(std::max(1, static_cast<int>(std::lround(font.points * 96.0 / 72.0))));
    q.setBold(font.bold);
    q.setItalic(font.italic);
    q.setUnderline(font.underline);
    if (font.face == "Arial Black") q.setWeight(QFont::Black);
    return q;
}

}  // namespace platform
