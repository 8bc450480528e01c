#pragma once

#include <QPointer>
#include <QString>
#include <array>

#include "app/form.h"
#include "content/question_bank.h"
#include "engine/question_id.h"

class QLabel;

namespace app {
class PictureBox;
}
class QPushButton;
class QRadioButton;

// The window of one question of the bank. One class serves all of them;
// each window carries the names of its question (class Tq1101, instance
// q1101, unit T11q1) as data.
class TQuestionWindow : public app::Form {
    Q_OBJECT

public:
    explicit TQuestionWindow(engine::QuestionId id);

    QPushButton* Start;
    QPushButton* exit;
    QLabel* Label1;
    std::array<QRadioButton*, 4> v{};   // v[0] is v1
    app::PictureBox* Image1 = nullptr;  // only in the picture questions
    QLabel* KeysHint;

    engine::QuestionId Id() const { return record_.id; }
    const content::QuestionRecord& Record() const { return record_; }
    QString ClassName() const;
    bool RightOptionChecked() const;
    // The option chosen, 1 … 4; 0 while none is.
    int ChosenOption() const;

    // The title, and the name a screen reader reads, say which question of
    // the test this is; again as it opens, when it was made ahead.
    void NumberTitle();

    void StartClick();
    void exitClick();
    void FormClose() override;

signals:
    // "Перейти к следующему вопросу": the answer as it stands goes in.
    void AnswerSubmitted();
    // «Прекратить выполнение теста».
    void StopRequested();

protected:
    // The keys 1 to 4, on the main row or the keypad, choose an option;
    // Enter presses "Перейти к следующему вопросу" wherever the focus is.
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // The tab stop of the answers: the chosen one, or the first.
    void FocusAnswers(Qt::FocusReason reason);

    const content::QuestionRecord& record_;
};

// The text as the question label shows it: each run of five or more
// spaces becomes a line break.
QString DisplayedQuestionText(const QString& text);

// The reference to the newest window of a question (q11 … q1313).
QPointer<TQuestionWindow>& QuestionWindowReference(engine::QuestionId id);
