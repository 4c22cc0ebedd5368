#pragma once
#include <QFont>
#include <QString>
#include <QStringList>
#include <string>
#include <thread>

namespace platform {

// A font as the windows are designed with it: a face name and a point size.
struct Font {
    std::string face = "MS Sans Serif";
    double points = 8.25;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    // The width of the letters, in percent of the face's own.
    int stretch = 100;
};

// The design faces are mapped to free faces with Cyrillic glyphs; sizes are
// taken at 96 dots per inch, as the layout was made, whatever the machine's DPI.
QFont toQFont(const Font& font);
// The free face drawing a design face, in italic when asked (some free
// families take their italic from another face).
QString familyFor(const std::string& face, bool italic = false);

// Every free face the design's faces are drawn in, named as familyFor names them.
QStringList freeFamilies();

// The text a control shows for a design caption in this font. A symbol face
// draws some letters as ornaments; those become the same ornaments in Unicode.
QString displayText(const Font& font, const std::string& caption);

// Reads the installed fonts into Qt's font database on a thread of its own
// while the interface thread sets up the stage and the first window, whose
// first text would otherwise wait for them (some 15 ms). Made once the
// application exists; waits for the thread when it goes.
class FontsAhead {
public:
    FontsAhead();
    ~FontsAhead();
    FontsAhead(const FontsAhead&) = delete;
    FontsAhead& operator=(const FontsAhead&) = delete;

private:
    std::thread reading_;
};

}  // namespace platform
