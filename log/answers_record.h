#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "log/answers_line.h"
#include "log/pending_append.h"

namespace resultslog {

// The answers record "Results.answers.csv" beside the results log: a start
// line as a test attempt begins and an end line, with every question shown,
// the position chosen and the seconds it was on screen, as it ends. Each
// line is appended as the event happens, with the guarantees of
// PendingAppend (the log's own): whole, locked, synced, held back and
// retried on failure, and written at every catchable end of the process, an
// attempt still running then ending as "program-end".
class AnswersRecord {
public:
    struct Clocks {
        std::function<std::time_t()> wall;
        std::function<std::chrono::steady_clock::time_point()> monotonic;
    };
    static Clocks SystemClocks();

    explicit AnswersRecord(std::filesystem::path path, Clocks clocks = SystemClocks());
    ~AnswersRecord();
    AnswersRecord(const AnswersRecord&) = delete;
    AnswersRecord& operator=(const AnswersRecord&) = delete;

    // Writes the start line. The name and platoon arrive as typed (UTF-8)
    // and are written as the results log writes them.
    void Begin(AttemptFields fields, std::int32_t asked);
    // The question whose window has just appeared.
    void QuestionShown(std::string className);
    // The answer submitted to the question on screen: 1 … 4, 0 for none.
    void QuestionAnswered(int chosen, bool correct);
    // Writes the end line; nothing when no attempt is running.
    void End(Ending ending);
    bool Running() const;

    bool AppendHeldBack();
    bool Healthy() const;
    Holdup HeldBack() const;
    // The file with its pending bytes, for a caller that watches several.
    PendingAppend& File();
    const PendingAppend& File() const;

private:
    struct Attempt {
        AttemptFields fields;
        std::int32_t asked = 0;
        std::vector<ShownQuestion> shown;
        std::chrono::steady_clock::time_point shownAt;
        bool answered = false;  // the question on screen
    };

    void Append(const std::string& line);
    void CountSeconds(Attempt& attempt) const;

    Clocks clocks_;
    PendingAppend file_;
    std::optional<Attempt> attempt_;
};

}  // namespace resultslog
