#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

#include <vector>

#include "app/icon/icon_drawing.h"

namespace icontool {

// The shapes painted on a transparent size × size image.
QImage Image(const std::vector<Shape>& shapes, int size);

// A program's window icon: the one its package installs under the desktop
// id, as the icon theme finds it, else the same drawing painted here (a
// program run from its build folder). Qt's application object must exist.
QIcon WindowIcon(const QString& desktopId, std::string_view drawing);

}  // namespace icontool
