#include "screens/log_text_validator.h"

#include "log/cp1251.h"

QValidator::State LogTextValidator::validate(QString& input, int& position) const {
    QString kept;
    kept.reserve(input.size());
    int keptBeforeCursor = 0;
    int index = 0;
    for (const char32_t codePoint : input.toUcs4()) {
        const QString character = QString::fromUcs4(&codePoint, 1);
        const bool keep = resultslog::Cp1251CanEncode(codePoint);
        if (keep) {
            kept += character;
            if (index < position) keptBeforeCursor += static_cast<int>(character.size());
        }
        index += static_cast<int>(character.size());
    }
    if (kept.size() != input.size()) {
        input = kept;
        position = keptBeforeCursor;
    }
    return Acceptable;
}
