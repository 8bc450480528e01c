#include "viewer/window/program_identity.h"

#include <QGuiApplication>

#include "app/icon/icon_image.h"

namespace viewer {

void SetProgramIdentity() {
    // The window class is the application name (StartupWMClass).
    QCoreApplication::setApplicationName(QString::fromLatin1(kDesktopId));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Калвена — результаты"));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
    QGuiApplication::setWindowIcon(icontool::WindowIcon("results"));
}

}  // namespace viewer
