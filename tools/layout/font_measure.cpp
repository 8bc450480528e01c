#include "tools/layout/font_measure.h"

#include <QFontInfo>
#include <QFontMetricsF>

#include <QFontMetrics>
#include <QRegularExpression>

#include "app/fonts.h"

namespace layouttool {

namespace {
constexpr int kLabelPixels = 21;
constexpr int kOptionPixels = 16;
}  // namespace

FontMeasure::FontMeasure()
    : labelFont_(app::DesignFont(app::kTimesNewRoman, kLabelPixels)),
      optionFont_(app::DesignFont(app::kTimesNewRoman, kOptionPixels)) {
    radio_.setFont(optionFont_);
}

double FontMeasure::LabelTextWidth(std::string_view utf8) const {
    return QFontMetricsF(labelFont_)
        .horizontalAdvance(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

int FontMeasure::OptionWidth(std::string_view utf8) {
    radio_.setText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    return radio_.sizeHint().width();
}

int FontMeasure::DisplayedLineCount(std::string_view utf8, int width) const {
    static const QRegularExpression lineBreak(QStringLiteral(" {5,}"));
    const QString text =
        QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).replace(lineBreak, QStringLiteral("\n"));
    const QFontMetrics metrics(labelFont_);
    const QRect bounds = metrics.boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap, text);
    return (bounds.height() + metrics.lineSpacing() / 2) / metrics.lineSpacing();
}

Measure FontMeasure::AsMeasure() {
    return {[this](std::string_view text) { return LabelTextWidth(text); },
            [this](std::string_view text) { return OptionWidth(text); }};
}

QString FontMeasure::LabelFamily() const { return QFontInfo(labelFont_).family(); }
QString FontMeasure::OptionFamily() const { return QFontInfo(optionFont_).family(); }

}  // namespace layouttool
