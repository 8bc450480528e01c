#pragma once

#include <QPointer>
#include <QSet>
#include <filesystem>
#include <memory>

#include "app/form.h"
#include "engine/exam_state.h"
#include "log/answers_record.h"
#include "log/results_log.h"
#include "screens/collector_link.h"
#include "screens/log_retry.h"
#include "screens/log_text_validator.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace app {
class PictureBox;
}

// The registration window: the main window of the program. It lives for
// the whole run and holds the one Test state and the results log.
class TKalvena : public app::Form, public engine::TestState {
    Q_OBJECT

public:
    // The results log goes to `resultsPath`, the answers record beside it;
    // with protected results, each test goes to the collecting service at
    // `collectorSocket` instead, and the program writes neither file.
    explicit TKalvena(const std::filesystem::path& resultsPath = "Results.txt",
                      const std::filesystem::path& collectorSocket = {});

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

    resultslog::ResultsLog ResultsFile;
    resultslog::AnswersRecord AnswersFile;
    // Writes what the log and the answers record held back once the files
    // let them, keeping the warning up to date meanwhile.
    LogRetry ResultsRetry{{&ResultsFile.File(), &AnswersFile.File()}, [this] { UpdateLogWarning(); }};
    // Protected results only.
    std::unique_ptr<CollectorLink> Collector;

    void FormActivate() override;
    // What the log and the answers record hold back gets a last chance, or
    // a word on screen, before the program ends.
    void FormClose() override;
    void StartClick();
    void exitClick();

    // Shows or hides the warning that results wait or are not saved.
    void UpdateLogWarning();
    // Notes, until a registration is accepted, that an edit of `field` lost
    // characters.
    void ReportLosses(QLineEdit* field, LogTextValidator::Losses losses);

private:
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
