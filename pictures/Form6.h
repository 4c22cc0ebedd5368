#pragma once
#include <QImage>
#include <QObject>
#include <filesystem>
#include <memory>
#include <optional>
#include <thread>

#include "canvas/core/Snapshot.h"
#include "platform/Form.h"

namespace pictures {

class Form1;

// The small pictures beside the titles in the gallery's list.
inline constexpr int kThumbnailWidth = 20, kThumbnailHeight = 25;  // inside a list row
// A small picture of what a slot holds, null when it cannot be read. Touches
// nothing but files, so it may run on any thread.
QImage galleryThumbnail(int slot);

// The gallery window: the saved pictures by title, with a preview; a picture can
// be taken back to the main canvas to go on colouring it.
class Form6 : public platform::Form {
public:
    Form6(platform::Desktop& desktop, Form1& main);
    ~Form6() override;

    platform::Ctl<platform::ListBox> List1{*this};
    platform::Ctl<platform::PictureBox> Picture1{*this};      // preview
    platform::Ctl<platform::CommandButton> Command1{*this};   // "Выход"
    platform::Ctl<platform::CommandButton> Command2{*this};   // "Редактировать"
    platform::Ctl<platform::Shape> Shape3{*this};              // progress bar

protected:
    void build() override;
    void Form_Load() override;

private:
    void List1_Click();
    void Command1_Click();
    void Command2_Click();
    // The list's pictures are made on a thread of their own, slot by slot, and
    // each is put in the list as it comes; the titles are there before them.
    void startThumbnails();
    void showThumbnail(unsigned round, int slot, const QImage& image);

    Form1& main_;
    canvas::Snapshot EditCopy{900, 1200};
    // The slot whose picture the preview shows; none until one was read whole.
    std::optional<int> previewSlot_;
    // The thread's results arrive here, on the user-interface thread. Each load
    // of the window is a new round; a result of an earlier one, or one that
    // comes after the window was closed, is dropped. The maker is declared last,
    // so it is stopped and joined before anything it hands results to goes.
    std::unique_ptr<QObject> thumbnailInbox_ = std::make_unique<QObject>();
    unsigned thumbnailRound_ = 0;
    std::jthread thumbnailMaker_;
};

}  // namespace pictures
