#include "pictures/Form6.h"

#include "pictures/Form1.h"
#include "canvas/ProgressBar.h"
#include "pictures/core/PictureFiles.h"

namespace pictures {

using namespace platform;

namespace {

constexpr int kPreviewBarTwips = 6735;
constexpr int kEditBarTwips = 5567;
// Shown in the list for a slot whose file cannot be read, so the gallery still opens.
constexpr const char* kUnreadableTitle = "(рисунок не читается)";

}  // namespace

Form6::Form6(Desktop& desktop, Form1& main) : Form(desktop, {.number = 6}), main_(main) {}

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
        const auto title = readGalleryTitle(galleryPath(slot));
        const auto* text = std::get_if<std::string>(&title);
        List1->addItem(text ? *text : kUnreadableTitle);
    }
}

void Form6::List1_Click() {
    const int slot = List1->listIndex();
    if (slot < 0) return;
    std::variant<GalleryPicture, FileError> read;
    {
        canvas::ProgressBar bar(*Shape3, kPreviewBarTwips);
        read = readGalleryPicture(galleryPath(slot), [&](int row, int rows) { bar.set(row, rows); });
    }
    if (const auto* error = std::get_if<FileError>(&read)) {
        message(error->message);
        return;
    }
    const GalleryPicture& file = std::get<GalleryPicture>(read);
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
    }
    main_.Command1->setEnabled(false);
    main_.Timer2->setEnabled(true);
    main_.Label3->setCaption(std::to_string(slot));
}

}  // namespace pictures
