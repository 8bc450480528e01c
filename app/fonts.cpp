#include "app/fonts.h"

#include <fontconfig/fontconfig.h>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QRawFont>
#include <QStringList>
#include <QtEndian>

namespace app {
namespace {

const QString kSerifFile = QStringLiteral(":/kalvena/fonts/LiberationSerif-Regular.ttf");
const QString kSansFile = QStringLiteral(":/kalvena/fonts/LiberationSans-Regular.ttf");

// The carried faces are registered as "KalvenaLib Serif" and "KalvenaLib
// Sans". Under their own names they would meet the machine's faces of the
// same family, foundry and style (another Liberation version, say), and Qt
// would pick one of the two by the order it happened to list them in.
const QByteArray kFileFamilyWord = QByteArrayLiteral("Liberation");
const QByteArray kOwnFamilyWord = QByteArrayLiteral("KalvenaLib");
static_assert(sizeof "Liberation" == sizeof "KalvenaLib", "renamed in place");

QString serifFamily = QStringLiteral("KalvenaLib Serif");
QString sansFamily = QStringLiteral("KalvenaLib Sans");

QByteArray Utf16BigEndian(const QByteArray& latin1) {
    QByteArray wide;
    for (const char c : latin1) wide.append('\0').append(c);
    return wide;
}

// Replaces the family word in the face's naming table (family, full name,
// PostScript name, typographic family), in place and at the same length,
// so that nothing else in the file moves. A file that is not laid out as
// expected is returned unchanged.
QByteArray WithOwnFamilyName(QByteArray font) {
    const auto u16 = [&font](qsizetype at) { return qFromBigEndian<quint16>(font.constData() + at); };
    const auto u32 = [&font](qsizetype at) { return qFromBigEndian<quint32>(font.constData() + at); };
    if (font.size() < 12) return font;
    const int tables = u16(4);
    for (int i = 0; i < tables && 12 + 16 * (i + 1) <= font.size(); ++i) {
        const qsizetype record = 12 + 16 * i;
        if (font.mid(record, 4) != "name") continue;
        const qsizetype table = u32(record + 8);
        const qsizetype end = table + u32(record + 12);
        if (table + 6 > end || end > font.size()) return font;
        const qsizetype strings = table + u16(table + 4);
        for (int n = 0, count = u16(table + 2); n < count && table + 6 + 12 * (n + 1) <= end; ++n) {
            const qsizetype entry = table + 6 + 12 * n;
            const quint16 platform = u16(entry);
            const quint16 nameId = u16(entry + 6);
            const qsizetype start = strings + u16(entry + 10);
            const qsizetype size = u16(entry + 8);
            if ((nameId != 1 && nameId != 4 && nameId != 6 && nameId != 16) || start + size > end) continue;
            const bool wide = platform == 0 || platform == 3;
            QByteArray name = font.mid(start, size);
            name.replace(wide ? Utf16BigEndian(kFileFamilyWord) : kFileFamilyWord,
                         wide ? Utf16BigEndian(kOwnFamilyWord) : kOwnFamilyWord);
            font.replace(start, size, name);
        }
    }
    return font;
}

QByteArray ResourceBytes(const QString& resource) {
    QFile file(resource);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString AddCarriedFace(const QString& resource, const QString& expectedFamily) {
    const int id = QFontDatabase::addApplicationFontFromData(WithOwnFamilyName(ResourceBytes(resource)));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    return families.isEmpty() ? expectedFamily : families.front();
}

// A face's header table: its checksum and dates tell one build of a font
// from any other.
QByteArray HeadTable(const QRawFont& face) { return face.fontTable("head"); }

// The windows draw only in the carried faces, so the machine's font
// configuration is left unread: an empty one, with no folders, rules or
// caches, becomes fontconfig's current configuration before Qt's font
// database first asks for it. No installed font or rule of the machine can
// reach a window, and start-up does not parse the configuration files and
// list every installed font, which would be two fifths of its work before
// the first paint. Should fontconfig refuse, Qt reads the machine's
// configuration, and the carried faces' own names still keep them apart.
void UseOwnFontConfiguration() {
    FcConfig* own = FcConfigCreate();
    if (own == nullptr) return;
    FcConfigSetRescanInterval(own, 0);  // nothing to rescan: never reload
    FcConfigSetCurrent(own);            // holds its own reference
    FcConfigDestroy(own);
}

}  // namespace

void RegisterDesignFonts() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    UseOwnFontConfiguration();
    serifFamily = AddCarriedFace(kSerifFile, serifFamily);
    sansFamily = AddCarriedFace(kSansFile, sansFamily);
    QFont font = QGuiApplication::font();
    font.setFamilies({sansFamily});
    font.setHintingPreference(QFont::PreferVerticalHinting);  // as the design fonts
    QGuiApplication::setFont(font);
}

QString CarriedFamily(const QString& designFamily) { return designFamily == kTimesNewRoman ? serifFamily : sansFamily; }

bool IsCarriedFace(const QFont& font) {
    static const QByteArray serif = HeadTable(QRawFont(ResourceBytes(kSerifFile), 16));
    static const QByteArray sans = HeadTable(QRawFont(ResourceBytes(kSansFile), 16));
    const QByteArray head = HeadTable(QRawFont::fromFont(font));
    return !head.isEmpty() && (head == serif || head == sans);
}

QFont DesignFont(const QString& family, int pixelHeight) {
    QFont font(CarriedFamily(family));
    font.setPixelSize(pixelHeight);
    // Every text of the program is in the carried faces' own character set,
    // so no fallback fonts need to be looked up.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoFontMerging));
    // Vertical hinting only (fontconfig's "slight"), not fontconfig's
    // built-in full hinting, which rounds glyph widths and moves the texts'
    // line breaks.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

}  // namespace app
