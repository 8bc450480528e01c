#pragma once

#include <QFont>
#include <QString>

namespace app {

inline const QString kTimesNewRoman = QStringLiteral("Times New Roman");
inline const QString kMsSansSerif = QStringLiteral("MS Sans Serif");
inline const QString kComicSansMs = QStringLiteral("Comic Sans MS");

// The window font of every form: MS Sans Serif at this pixel height.
inline constexpr int kWindowFontPixels = 11;

// Registers the free fonts with the same metrics as the designed ones, for
// machines whose font configuration knows no alias of its own.
void RegisterFontSubstitutes();

// A font by its design name and character height in pixels at 96 dpi.
QFont DesignFont(const QString& family, int pixelHeight);

}  // namespace app
