#include "screens/log_text_validator.h"

#include <algorithm>
#include <utility>

#include "log/cp1251.h"

namespace {

bool IsSeparator(char32_t codePoint) {
    switch (codePoint) {
        case U'\t':
        case U'\n':
        case U'\v':
        case U'\f':
        case U'\r':
        case U'\u0085':
        case U'\u2028':
        case U'\u2029': return true;
        default: return false;
    }
}

}  // namespace

LogTextValidator::LogTextValidator(QObject* parent, int maxLength, LossReport report)
    : QValidator(parent), maxLength_(maxLength), report_(std::move(report)) {}

QValidator::State LogTextValidator::validate(QString& input, int& position) const {
    const bool edited = input != lastValidated_;
    const QList<uint> codePoints = input.toUcs4();
    QString kept;
    kept.reserve(input.size());
    int keptBeforeCursor = 0;
    Losses losses;
    int index = 0;
    for (qsizetype i = 0; i < codePoints.size(); ++i) {
        char32_t codePoint = codePoints[i];
        const bool beforeCursor = index < position;
        index += codePoint > 0xFFFF ? 2 : 1;
        // CR LF is one line break: its LF stands for both.
        if (codePoint == U'\r' && i + 1 < codePoints.size() && codePoints[i + 1] == U'\n') continue;
        if (IsSeparator(codePoint)) codePoint = U' ';
        if (!resultslog::Cp1251CanEncode(codePoint)) {
            losses.dropped = true;
            continue;
        }
        // Every character of the code page is a single UTF-16 unit.
        kept += QChar(static_cast<char16_t>(codePoint));
        if (beforeCursor) ++keptBeforeCursor;
    }
    if (kept.size() > maxLength_) {
        // The cursor stands after what was just typed or pasted: the excess
        // goes from there backwards, so the text the field had stays whole.
        const qsizetype excess = kept.size() - maxLength_;
        const qsizetype beforeCursor = std::min<qsizetype>(excess, keptBeforeCursor);
        kept.remove(keptBeforeCursor - beforeCursor, beforeCursor);
        keptBeforeCursor -= static_cast<int>(beforeCursor);
        kept.truncate(maxLength_);
        losses.cut = true;
    }
    if (kept != input) {
        input = kept;
        position = keptBeforeCursor;
    }
    lastValidated_ = input;
    if (edited && report_) report_(losses);
    return Acceptable;
}
