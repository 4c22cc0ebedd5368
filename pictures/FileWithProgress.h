#pragma once
// Reading or writing a picture file as the windows do it: the window's progress
// bar grows row by row and goes away after, and a failure is told in a message.
#include <optional>
#include <utility>
#include <variant>

#include "canvas/ProgressBar.h"
#include "pictures/core/PictureFiles.h"
#include "platform/Controls.h"
#include "platform/core/Services.h"

namespace pictures {

struct ProgressShown {
    platform::Shape& bar;
    int fullTwips;  // the bar's width when the file is done
    platform::MessageService& messages;
};

// A read: the picture, or nothing once the failure has been told.
template <class Picture, class Read>
std::optional<Picture> readWithProgress(const ProgressShown& shown, Read read) {
    std::variant<Picture, FileError> result = [&] {
        canvas::ProgressBar bar(shown.bar, shown.fullTwips);
        return read([&](int row, int rows) { bar.set(row, rows); });
    }();
    if (const auto* error = std::get_if<FileError>(&result)) {
        shown.messages.message(error->message);
        return std::nullopt;
    }
    return std::get<Picture>(std::move(result));
}

// A save: true when it is on the disk, false once the failure has been told.
template <class Save>
bool saveWithProgress(const ProgressShown& shown, Save save) {
    std::optional<FileError> error = [&] {
        canvas::ProgressBar bar(shown.bar, shown.fullTwips);
        return save([&](int row, int rows) { bar.set(row, rows); });
    }();
    if (error) shown.messages.message(error->message);
    return !error;
}

}  // namespace pictures
