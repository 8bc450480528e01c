#pragma once

namespace viewer {

// The name of the viewer's menu entry (org.kalvena.Results.desktop) and
// icon, and its window class: ASCII, as the window manager reads it.
inline constexpr char kDesktopId[] = "org.kalvena.Results";

// Names the application after its menu entry, so that the desktop groups
// its windows there, gives it the title its windows carry and its own
// icon. Qt's application object must exist.
void SetProgramIdentity();

}  // namespace viewer
