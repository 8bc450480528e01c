#pragma once

#include <QString>
#include <QValidator>
#include <functional>

// Keeps an entry field to the characters that the results log can hold, so
// that what the student sees is what the log gets, and to the field's
// length limit. Pasted text keeps its words apart: a tab or a line break
// becomes a space. A character the log cannot hold is dropped instead of
// the whole paste being refused; of an edit that would make the text too
// long, only what fits is kept. Either way the field's owner is told, so
// that it can say so.
class LogTextValidator : public QValidator {
public:
    // What an edit lost.
    struct Losses {
        bool dropped = false;  // characters the log cannot hold
        bool cut = false;      // characters beyond the length limit
    };
    // Called after each edit.
    using LossReport = std::function<void(Losses losses)>;

    LogTextValidator(QObject* parent, int maxLength, LossReport report);
    State validate(QString& input, int& position) const override;

private:
    int maxLength_;
    LossReport report_;
    // The text as last validated: meeting it again is the field checking
    // its text once more, not an edit.
    mutable QString lastValidated_;
};
