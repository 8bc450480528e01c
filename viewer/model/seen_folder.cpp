#include "viewer/model/seen_folder.h"

#include <QStandardPaths>

namespace viewer {

std::filesystem::path SeenMemoryFolder() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return std::filesystem::path(data.toStdString()) / "kalvena-results" / "seen";
}

}  // namespace viewer
