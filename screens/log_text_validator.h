#pragma once

#include <QValidator>

// Keeps an entry field to the characters that the results log can hold, so
// that what the student sees is what the log gets; pasted text loses the
// characters it cannot keep instead of being refused whole.
class LogTextValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};
