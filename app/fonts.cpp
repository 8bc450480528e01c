#include "app/fonts.h"

#include <QStringList>

namespace app {

void RegisterFontSubstitutes() {
    QFont::insertSubstitutions(kTimesNewRoman, {QStringLiteral("Liberation Serif")});
    QFont::insertSubstitutions(kMsSansSerif, {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(kComicSansMs, {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

QFont DesignFont(const QString& family, int pixelHeight) {
    QFont font(family);
    font.setPixelSize(pixelHeight);
    // Every text of the program is in the designed fonts' own character
    // set, so no fallback fonts need to be looked up.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoFontMerging));
    return font;
}

}  // namespace app
