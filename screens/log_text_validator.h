#pragma once

#include <QString>
#include <QValidator>
#include <functional>

// Keeps an entry field to the characters that the results log can hold, so
// that what the student sees is what the log gets. Pasted text keeps its
// words apart: a tab or a line break becomes a space. A character the log
// cannot hold is dropped instead of the whole paste being refused, and the
// field's owner is told, so that it can say so.
class LogTextValidator : public QValidator {
public:
    // Called after each edit with whether the edit lost characters.
    using DropReport = std::function<void(bool dropped)>;

    LogTextValidator(QObject* parent, DropReport report);
    State validate(QString& input, int& position) const override;

private:
    DropReport report_;
    // The text as last validated: meeting it again is the field checking
    // its text once more, not an edit.
    mutable QString lastValidated_;
};
