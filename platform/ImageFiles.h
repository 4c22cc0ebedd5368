#pragma once
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <future>
#include <map>
#include <string>
#include <vector>

namespace platform {

// An image beside the program (PNG), read as every file the program reads is
// (readFileBytes): a pipe or a huge file where it should be shows nothing rather
// than hang the program or take its memory.
QPixmap imageFile(const std::string& name);

// Images read as imageFile reads them, ahead of need, each on a thread of its
// own while the interface thread sets up the stage, and scaled smoothly to the
// size they are shown at when one is given. take() hands one over, waiting for
// it if need be; asked again, or for one not read ahead, it reads the file then.
// Waits for what is still being read when it goes.
class ImagesAhead {
public:
    struct Wanted {
        std::string name;
        QSize shown;  // empty: as the file has it
    };
    explicit ImagesAhead(const std::vector<Wanted>& images);
    QPixmap take(const std::string& name);

private:
    std::map<std::string, std::future<QImage>> reading_;
};

}  // namespace platform
