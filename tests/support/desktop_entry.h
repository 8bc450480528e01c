#pragma once

#include <QFile>
#include <QString>

namespace testsupport {

// The value of a key of a menu entry in packaging/ (KALVENA_PACKAGING_DIR),
// or an empty string.
inline QString DesktopEntryValue(const QString& desktopId, const QString& key) {
    QFile file(QStringLiteral(KALVENA_PACKAGING_DIR "/") + desktopId + QStringLiteral(".desktop"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(key + '=')) return line.mid(key.size() + 1);
    }
    return {};
}

}  // namespace testsupport
