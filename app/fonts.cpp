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
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

}  // namespace app
