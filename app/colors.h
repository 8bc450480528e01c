#pragma once

#include <QColor>
#include <QPalette>

namespace app {

// Colours by their toolkit names.
inline const QColor clCream{255, 251, 240};
inline const QColor clRed{255, 0, 0};
inline const QColor clBlue{0, 0, 255};
inline const QColor clBlack{0, 0, 0};

// Small notes and key hints: grey, yet dark enough to read on cream.
inline const QColor kNoteGrey{88, 88, 88};

// The system's window-text colour.
inline QColor clWindowText() { return QPalette().color(QPalette::WindowText); }

}  // namespace app
