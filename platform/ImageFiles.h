#pragma once
#include <QImage>
#include <QPixmap>
#include <string>

namespace platform {

// An image beside the program (PNG), read as every file the program reads is
// (readFileBytes): a pipe or a huge file where it should be shows nothing rather
// than hang the program or take its memory.
QPixmap imageFile(const std::string& name);
// The same as an image, for a thread other than the interface's.
QImage readImageFile(const std::string& name);

}  // namespace platform
