#pragma once

#include <QIcon>
#include <QImage>

#include <string_view>
#include <vector>

#include "app/icon/icon_drawing.h"

namespace icontool {

// The shapes painted on a transparent size × size image.
QImage Image(const std::vector<Shape>& shapes, int size);

// A program's window icon: its drawing painted here, the same shapes its
// package installs for the menu entry. Not looked up in the icon theme: the
// lookup reads every theme's index before the first window appears, and finds
// the same picture. The sizes are those a window manager shows for a
// window; each window carries every size to the X server as it is made, so
// the menu entry's larger icon serves larger views. Qt's application object
// must exist.
QIcon WindowIcon(std::string_view drawing);

}  // namespace icontool
