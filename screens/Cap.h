#pragma once

#include <QPointer>
#include <QSet>
#include <filesystem>
#include <memory>

#include "app/form.h"
#include "engine/exam_state.h"
#include "screens/exam_session.h"
#include "screens/log_text_validator.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace app {
class PictureBox;
}

// The registration window: the main window of the program. It lives for
// the whole run and holds the one Test state and the session that writes
// the tests' results.
class TKalvena : public app::Form, public engine::TestState {
    Q_OBJECT

public:
    // The session goes with the window: closing the program appends what
    // it holds.
    explicit TKalvena(std::unique_ptr<TestSession> session = std::make_unique<TestSession>());

    QPushButton* Start;
    QPushButton* exit;
    QLabel* kalvena;
    app::PictureBox* Image1;
    QLabel* FIO;
    QLabel* vzvod;
    QLineEdit* Surname = nullptr;
    QLineEdit* wzvod = nullptr;
    QLabel* LogWarning;
    QLabel* DroppedNote;
    QLabel* LengthNote;
    QLabel* EmptyNote;
    QLabel* FieldRefusal;

    TestSession& Session() { return *session_; }

    void FormActivate() override;
    // What the log and the answers record hold back gets a last chance, or
    // a word on screen, before the program ends.
    void FormClose() override;
    void StartClick();
    void exitClick();
    // After a test: the fields empty for the next student, the window shown.
    void ReturnForNextStudent();

    // Shows or hides the warning that results wait or are not saved.
    void UpdateLogWarning();
    // Notes, until a registration is accepted, that an edit of `field` lost
    // characters.
    void ReportLosses(QLineEdit* field, LogTextValidator::Losses losses);

private:
    std::unique_ptr<TestSession> session_;

    QLineEdit* MakeField(QLabel* label, const app::Rect& design, int maxLength);
    void ShowNotes();
    void ClearNotes();

    // The fields that have lost characters since the last registration.
    QSet<QLineEdit*> droppedIn_;
    QSet<QLineEdit*> cutIn_;
    // The field found empty at the last press of "Начать…", until filled.
    QLineEdit* emptyField_ = nullptr;
};

inline QPointer<TKalvena> Kalvena;
