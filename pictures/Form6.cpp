#include "pictures/Form6.h"

#include <QPixmap>
#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "canvas/ProgressBar.h"
#include "canvas/core/Thumbnail.h"
#include "pictures/Form1.h"
#include "pictures/FileWithProgress.h"
#include "pictures/core/GalleryFolder.h"
#include "pictures/core/PictureFiles.h"

namespace pictures {

using namespace platform;

namespace {

constexpr int kPreviewBarTwips = 6735;
constexpr int kEditBarTwips = 5567;
// Shown in the list for a slot whose file cannot be read, so the gallery still opens.
constexpr const char* kUnreadableTitle = "(рисунок не читается)";

}  // namespace

QImage galleryThumbnail(int slot) {
    const auto read = readGallerySlot(slot);
    const auto* picture = std::get_if<GalleryPicture>(&read);
    if (!picture) return {};
    const PixelBuffer small =
        canvas::makeThumbnail(picture->cells, picture->width, picture->height, kThumbnailWidth, kThumbnailHeight);
    if (small.width() == 0) return {};
    return QImage(reinterpret_cast<const uchar*>(small.data()), small.width(), small.height(), small.width() * 4,
                  QImage::Format_RGBX8888)
        .convertToFormat(QImage::Format_RGB32);  // a copy of its own, opaque
}

Form6::Form6(Desktop& desktop, Form1& main) : Form(desktop, {.number = 6}), main_(main) {}

Form6::~Form6() = default;

void Form6::build() {
    add(List1, "List1", ListBoxDesign{twips(0, 0, 6855, 13545), {"MS Sans Serif", 18}}).Click = [this] { List1_Click(); };
    add(Picture1, "Picture1", PictureDesign{twips(6960, 0, 12255, 15375), kWhite, false});
    add(Command2, "Command2",
        ButtonDesign{twips(120, 13560, 6735, 615), "Редактировать", {"MS Sans Serif", 24}, rgb(255, 255, 0)})
        .Click = [this] { Command2_Click(); };
    add(Command1, "Command1", ButtonDesign{twips(120, 14640, 6735, 615), "Выход", {"MS Sans Serif", 24}, rgb(255, 0, 0)})
        .Click = [this] { Command1_Click(); };
    add(Shape3, "Shape3",
        ShapeDesign{twips(120, 14280, 0, 255), ShapeKind::Rectangle, rgb(128, 128, 255), rgb(128, 128, 255), 1, false});
}

// The titles are read once, when the window is created.
void Form6::Form_Load() {
    previewSlot_.reset();
    List1->addItem("Мой рисунок");
    for (int slot = 1; slot <= 35; ++slot) {
        const auto title = readGallerySlotTitle(slot);
        const auto* text = std::get_if<std::string>(&title);
        List1->addItem(text ? *text : std::to_string(slot) + " " + kUnreadableTitle);
    }
    startThumbnails();
}

void Form6::startThumbnails() {
    List1->setPictureSize(kThumbnailWidth, kThumbnailHeight);
    thumbnailMaker_ = {};  // an earlier round still running stops after its current slot
    const unsigned round = ++thumbnailRound_;
    QObject* inbox = thumbnailInbox_.get();
    thumbnailMaker_ = std::jthread([this, inbox, round](std::stop_token stop) {
        for (int slot = 0; slot < kGallerySlots && !stop.stop_requested(); ++slot) {
            QImage image;
            try {
                image = galleryThumbnail(slot);
            } catch (const std::bad_alloc&) {
                continue;  // short of memory: the slot goes without its picture, the gallery still opens
            }
            if (image.isNull()) continue;
            QMetaObject::invokeMethod(
                inbox, [this, round, slot, image = std::move(image)] { showThumbnail(round, slot, image); },
                Qt::QueuedConnection);
        }
    });
}

void Form6::showThumbnail(unsigned round, int slot, const QImage& image) {
    // Reaching List1 of a closed window would load it again.
    if (round != thumbnailRound_ || state() != State::Loaded) return;
    List1->setItemPicture(slot, QPixmap::fromImage(image));
}

void Form6::List1_Click() {
    const int slot = List1->listIndex();
    if (slot < 0) return;
    const std::optional<GalleryPicture> read = readWithProgress<GalleryPicture>(
        {*Shape3, kPreviewBarTwips, services().message},
        [&](const Progress& progress) { return readGallerySlot(slot, progress); });
    if (!read) return;
    const GalleryPicture& file = *read;
    main_.Label2->setCaption(file.title);
    PictureBox& preview = *Picture1;
    preview.setOuterSize(file.width, file.height);
    preview.clear();
    drawGalleryPicture(file, preview.pixels());
    preview.changedAll();
    previewSlot_ = slot;
    services().beep.beep();
}

void Form6::Command1_Click() { unload(); }

// "Редактировать": the preview goes onto the main canvas, and the main window
// learns half a second later which slot to save it back to: the slot whose
// picture is in the preview, not a damaged one chosen after it.
void Form6::Command2_Click() {
    const int listed = List1->listIndex();
    // Nothing chosen yet hands over -1, as the list itself says; a chosen slot
    // that could not be read, with no good one before it, has nothing to edit.
    if (!previewSlot_ && listed >= 0) return;
    const int slot = previewSlot_.value_or(listed);
    PictureBox& preview = *Picture1;
    {
        canvas::ProgressBar bar(*Shape3, kEditBarTwips);
        EditCopy.take(preview.pixels());
        bar.set(1, 1);
        PictureBox& canvas = *main_.canvas.Picture1;
        canvas.setOuterSize(preview.width(), preview.height());
        canvas.clear();
        hide();
        main_.show();
        EditCopy.paint(canvas.pixels());
        canvas.changedAll();
        main_.canvas.startFreshHistory();
    }
    main_.Command1->setEnabled(false);
    main_.Timer2->setEnabled(true);
    main_.Label3->setCaption(std::to_string(slot));
}

}  // namespace pictures
