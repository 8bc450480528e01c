#pragma once

#include <QFont>
#include <QRadioButton>
#include <QString>
#include <string_view>

#include "tools/layout/layout_rules.h"

namespace layouttool {

// Widths from the fonts the question window uses: the question text in
// Times New Roman 21 px, the options as radio buttons in Times New Roman 16 px.
class FontMeasure {
public:
    FontMeasure();

    double LabelTextWidth(std::string_view utf8) const;
    int OptionWidth(std::string_view utf8);
    // Lines of the text as the question label shows it at a width, each
    // run of line-break spaces starting a new line.
    int DisplayedLineCount(std::string_view utf8, int width) const;
    Measure AsMeasure();

    const QFont& LabelFont() const { return labelFont_; }
    const QFont& OptionFont() const { return optionFont_; }
    // The families that the fonts resolved to on this machine.
    QString LabelFamily() const;
    QString OptionFamily() const;

private:
    QFont labelFont_;
    QFont optionFont_;
    QRadioButton radio_;
};

}  // namespace layouttool
