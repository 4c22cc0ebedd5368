#pragma once
// Lays an animal drawing out on a library picture's page, in its own flat
// colours, as large as the page allows, with a simple scene of ours around
// it; and paints drawings in colour for the welcome window and the icons.
#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRectF>
#include <optional>
#include <string>

namespace page {

// A library picture's size in cells, and the white border kept around it.
inline constexpr int kWidth = 696;
inline constexpr int kHeight = 903;
inline constexpr int kMargin = 24;

// What is drawn around the animal: nothing, a meadow with the sun and clouds,
// the sea with sand and bubbles, or a pond with lily pads.
enum class Scene { None, Meadow, Sea, Pond };

// The scene named in animals.tsv: "none", "meadow", "sea" or "pond"; false for any other name.
bool sceneFromName(const std::string& name, Scene* scene);

struct Page {
    QImage colours;  // kWidth × kHeight, the paper see-through, every shape in one flat colour
    QRect animal;    // the animal's bounds, its scene left out
};

// The drawing on its page; nothing and *error when it cannot be read or shows nothing.
std::optional<Page> layOut(const QByteArray& svg, Scene scene, std::string* error = nullptr);

// Paints the drawing in its colours, antialiased, as large as fits in `target`
// and centred there; false if it cannot be read or shows nothing.
bool paintDrawing(QPainter& painter, const QByteArray& svg, const QRectF& target);

}  // namespace page
