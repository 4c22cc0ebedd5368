#pragma once
// Turns a colour drawing (flat fills under black strokes) into line art a
// child colours with the fill: every patch that had a colour of its own
// becomes a closed white area, the strokes and the borders between patches
// black lines. Shared by make_pictures and the test that checks its output.
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <cstdint>
#include <string>
#include <vector>

namespace lineart {

// A library picture's size in cells, and the white border kept around the animal.
inline constexpr int kWidth = 696;
inline constexpr int kHeight = 903;
inline constexpr int kMargin = 24;

// The designer's strokes are drawn this much thinner: at picture size they
// would be some twenty pixels wide.
inline constexpr double kStrokeScale = 0.5;

// White areas and black specks smaller than this many pixels are noise.
inline constexpr int kSpeck = 30;

// Half the width of a line drawn between two patches: a pixel this close to
// another patch turns black, so such lines are twice as wide (and one more).
inline constexpr int kBorderReach = 3;

// No line is thinner than this: every black pixel lies in an all-black square
// of this side, so the seams between patches weigh about as much as the
// outlines and a picture does not look cracked.
inline constexpr int kLineWidth = 6;

// A patch is made of squares of side 2 * kSolidReach + 1 in its colour:
// anything narrower is a sliver and goes to the lines.
inline constexpr int kSolidReach = 5;

// What each pixel of the rendered drawing shows.
inline constexpr std::uint8_t kStroke = 0;      // the designer's black lines and dots
inline constexpr std::uint8_t kBackground = 1;  // around the drawing
inline constexpr std::uint8_t kFirstFill = 2;   // fills[label - kFirstFill]

struct Labels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> label;  // row by row
    std::vector<QRgb> fills;          // the drawing's own colours and the scene's, black excepted
    int extended = 0;                 // loose stroke ends drawn on to the nearest line
    int loose = 0;                    // stroke ends with no line near enough ahead
    int merged = 0;                   // patches too small to colour, joined to a neighbour
    QRect animal;                     // the animal's bounds, its scene left out
};

// What is drawn around the animal: a bare page (for faces), a meadow with
// the sun and a cloud, the sea with sand and bubbles, or a pond.
enum class Scene { None, Meadow, Sea, Pond };

// The scene named in animals.tsv: "none", "meadow", "sea" or "pond"; false
// for any other name.
bool sceneFromName(const std::string& name, Scene* scene);

// A stroke end further than this from any line is not drawn on to one (a long
// new line would cross a face or a body where the designer drew none): the
// lines cut the loose stroke back instead.
inline constexpr int kMaxReach = 60;

// A stroke whose ends are closer than this share of its length bends round a
// part of its own (a wing, a mouth): its ends are joined instead. A straight
// or gently bent stroke stays open.
inline constexpr double kCloseGap = 0.8;

// How far the end of such a bent stroke may be drawn straight on to a line
// when its ends cannot be joined (a spiral's would cross its own turns), and
// never further than the stroke is long.
inline constexpr int kLongReach = 180;

// A patch that would leave fewer white pixels than this is too small to colour.
inline constexpr int kTinyPatch = 500;

// Renders the drawing without antialiasing, as large as fits in width × height
// less the margin (and less the room its scene needs), and tells each pixel's
// colour among the drawing's own (the nearest, should the renderer ever blend
// one). A stroke end left loose inside a patch is drawn on to the nearest line
// when one is near; a patch too small to colour is joined to the neighbour
// across the thinnest stroke, by a channel of that neighbour's colour.
// An empty result and *error on failure.
Labels labelDrawing(const QByteArray& svg, int width, int height, int margin, Scene scene = Scene::None,
                    std::string* error = nullptr);

// The 4-connected patches of one colour, slivers left out; strokes belong to none.
struct Regions {
    std::vector<int> id;              // per pixel, -1 on a stroke or a sliver
    std::vector<std::uint8_t> label;  // per region
    std::vector<int> size;            // per region, in pixels
    std::vector<int> firstPixel;      // per region, the first in reading order
};
Regions findRegions(const Labels& labels);

// What drawing the lines had to do to a picture's patches.
struct Report {
    int joined = 0;   // pieces of a patch cut off by lines and joined back
    int dropped = 0;  // pieces too small to keep, turned black
    int droppedPixels = 0;
    int small = 0;   // patches left with fewer than kSpeck white pixels
    int pruned = 0;  // black pixels of lines that parted nothing, made white
};

// The line art: per pixel 1 white, 0 black. Every line parts two areas, or
// the area around the animal from itself (antennae, whiskers, a thin leg),
// or is a dot or a blob of its own: a stroke that ended loose inside an area
// is cut back to the line it came from. Deterministic for the same labels.
std::vector<std::uint8_t> drawLines(const Labels& labels, Report* report = nullptr);

// The drawing in its colours, antialiased, centred on the background with the margin.
QImage renderColoured(const QByteArray& svg, QSize size, int margin, QColor background);

}  // namespace lineart
