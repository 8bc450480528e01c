#include "viewer/model/seen_folder.h"

#include <QStandardPaths>

#include "viewer/core/memory/seen_memory.h"

namespace viewer {

std::filesystem::path SeenMemoryFolder() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    std::filesystem::path folder = std::filesystem::path(data.toStdString()) / "kalvena-results" / "seen";
    // Made and tightened once a run, before anything is read from it or written to it.
    static const bool kept = KeepMemoryPrivate(folder).empty();
    static_cast<void>(kept);
    return folder;
}

}  // namespace viewer
