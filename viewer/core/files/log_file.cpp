#include "viewer/core/files/log_file.h"

#include <algorithm>

namespace viewer {

LogFile::LogFile(std::filesystem::path path) : file_(std::move(path)) {}

LogFile::Change LogFile::Refresh() {
    Change change;
    std::size_t firstChanged = reader_.Attempts().size();
    const FollowedFile::Outcome outcome = file_.Follow(
        [&] {
            change.any = !reader_.Attempts().empty() || !reader_.Remarks().empty();
            reader_ = LogReader();
            firstChanged = 0;
        },
        [&](std::string_view bytes) { firstChanged = std::min(firstChanged, reader_.Feed(bytes)); });
    change.any = change.any || outcome.fed;
    change.firstChanged = firstChanged;
    return change;
}

}  // namespace viewer
