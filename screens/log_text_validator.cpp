#include "screens/log_text_validator.h"

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

LogTextValidator::LogTextValidator(QObject* parent, DropReport report)
    : QValidator(parent), report_(std::move(report)) {}

QValidator::State LogTextValidator::validate(QString& input, int& position) const {
    const bool edited = input != lastValidated_;
    const QList<uint> codePoints = input.toUcs4();
    QString kept;
    kept.reserve(input.size());
    int keptBeforeCursor = 0;
    bool dropped = false;
    int index = 0;
    for (qsizetype i = 0; i < codePoints.size(); ++i) {
        char32_t codePoint = codePoints[i];
        const bool beforeCursor = index < position;
        index += codePoint > 0xFFFF ? 2 : 1;
        // CR LF is one line break: its LF stands for both.
        if (codePoint == U'\r' && i + 1 < codePoints.size() && codePoints[i + 1] == U'\n') continue;
        if (IsSeparator(codePoint)) codePoint = U' ';
        if (!resultslog::Cp1251CanEncode(codePoint)) {
            dropped = true;
            continue;
        }
        // Every character of the code page is a single UTF-16 unit.
        kept += QChar(static_cast<char16_t>(codePoint));
        if (beforeCursor) ++keptBeforeCursor;
    }
    if (kept != input) {
        input = kept;
        position = keptBeforeCursor;
    }
    lastValidated_ = input;
    if (edited && report_) report_(dropped);
    return Acceptable;
}
