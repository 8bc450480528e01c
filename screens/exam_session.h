#pragma once

#include <QString>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

#include "engine/question_id.h"
#include "facts/results_files.h"
#include "log/answers_record.h"
#include "log/results_log.h"
#include "screens/collector_link.h"
#include "screens/log_retry.h"

// Where the results of a run go. With a collector socket the results are
// protected: each test goes to the collecting service, and the program
// writes neither file and names the log only in messages.
struct ResultsPlace {
    std::filesystem::path log{facts::kResultsLogName};
    std::filesystem::path collectorSocket;
};

// The files of the tests of one run: the results log, its answers record
// and the retries of what they hold back, or, with protected results, the
// link to the collecting service. The windows tell it what happens in a
// test; it alone decides what goes where.
class TestSession {
public:
    explicit TestSession(ResultsPlace place = {});
    TestSession(const TestSession&) = delete;
    TestSession& operator=(const TestSession&) = delete;

    // `changed` runs whenever WarningText may have changed.
    void OnChange(std::function<void()> changed);

    // Before each registration: what earlier runs left behind goes out.
    void Open();
    // A registration accepted: the header, and the name and platoon the
    // test's attempt carries.
    void Register(const QString& fullName, const QString& platoon);
    void Begin(int theme, std::int32_t questionsToAsk);
    void QuestionShown(engine::QuestionId id);
    // The answer submitted to the question on screen: 1 … 4, 0 for none.
    void Answered(engine::QuestionId id, int chosen, bool right);
    // The last answer given: the whole entry goes out now, not at "OK".
    void Finish(std::int32_t rightCount, std::int32_t questionsToAsk);
    // «Прекратить выполнение теста».
    void Stop();
    // The entry as it stands goes out (a header alone for a test cut off).
    void Close();
    // Before the program ends at the student's word: a busy log gets a few
    // hundred milliseconds more, then the student is told what is held back.
    void Settle();

    // The registration window's red line; empty while all is well.
    QString WarningText() const;
    bool LogOpen() const;
    // The log's path, also with protected results, where it is only named.
    const std::filesystem::path& LogPath() const;

private:
    void Changed();

    std::filesystem::path logPath_;
    resultslog::ResultsLog log_;
    resultslog::AnswersRecord answers_;
    LogRetry retry_;
    // Protected results only.
    std::unique_ptr<CollectorLink> collector_;
    std::function<void()> changed_;
    QString fullName_;
    QString platoon_;
};
