#pragma once

#include <QColor>
#include <QString>

class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

// Controls as the windows of the program use them.

inline constexpr int kButtonFontPixels = 13;

// A push button in MS Sans Serif; Enter presses it when it has the focus.
QPushButton* MakeButton(QWidget* parent, const QString& caption, int fontPixels = kButtonFontPixels);
// The same, made the window's default button for good: outside a dialog Qt
// would drop that, and its frame, once the focus leaves it.
QPushButton* MakeDefaultButton(QWidget* parent, const QString& caption);
// A label of fixed text in the given font and colour.
QLabel* MakeLabel(QWidget* parent, const QString& text, const QString& family, int fontPixels, const QColor& colour);
// A small grey line of help in the window font.
QLabel* MakeNote(QWidget* parent, const QString& text);
QRadioButton* MakeRadio(QWidget* parent, const QString& caption);
