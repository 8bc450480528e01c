#pragma once

#include <QFont>
#include <QString>

namespace app {

// The fonts the windows were designed in, by their design names.
inline const QString kTimesNewRoman = QStringLiteral("Times New Roman");
inline const QString kMsSansSerif = QStringLiteral("MS Sans Serif");
inline const QString kComicSansMs = QStringLiteral("Comic Sans MS");

// The window font of every form: MS Sans Serif at this pixel height.
inline constexpr int kWindowFontPixels = 11;

// Registers the faces that the program carries among its resources and
// draws the design fonts in: Liberation Serif for Times New Roman,
// Liberation Sans for the others (the same widths as the designed fonts;
// the bank's line breaks were measured with them), under names of their own
// (CarriedFamily). They are the only faces: the machine's fonts and font
// configuration are not read. Qt's own windows, such as menus and dialogs,
// take the sans face too. Once a QGuiApplication exists, before any text is
// measured; a second call does nothing.
void RegisterDesignFonts();

// The family of a carried face that a design name is drawn in.
QString CarriedFamily(const QString& designFamily);

// Whether a font is drawn in one of the carried faces (not in a face of the
// machine's that has the same name).
bool IsCarriedFace(const QFont& font);

// A font by its design name and character height in pixels at 96 dpi, in
// the carried face whatever fonts the machine has.
QFont DesignFont(const QString& family, int pixelHeight);

}  // namespace app
