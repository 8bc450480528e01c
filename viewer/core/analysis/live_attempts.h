#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "viewer/core/files/answers_reader.h"
#include "viewer/core/files/log_reader.h"

namespace viewer {

// What the answers record tells of an attempt the log has no result for.
enum class LiveKind {
    Unknown,     // no start of it in the record (yet)
    Running,     // started, not ended
    Stopped,     // «Прекратить выполнение теста»
    ProgramEnd,  // the program ended during the test
    Abandoned,   // the collecting service gave up on it: the program vanished or time ran out
    Ended,       // ran to its last question; the log's result is still to come
};

struct LiveState {
    LiveKind kind = LiveKind::Unknown;
    std::int32_t theme = 0;
    std::int64_t started = 0;  // seconds since the epoch, UTC
};

// The state column's text (Russian, UTF-8); `now` in seconds since the
// epoch. Empty for LiveKind::Unknown.
std::string LiveStateText(const LiveState& state, std::int64_t now);

// Pairs the attempts of a results log with the starts and ends of its
// answers record, both read as they grow, at a cost per new line.
//
// The log carries no attempt id, so the rule is by order: the k-th
// registration of a name and platoon in the log is the k-th start of the
// same name and platoon in the record. A registration left before a theme
// was chosen has no start and shifts the later ones of that student; that
// is rare and shows only as a live state on the wrong one of their rows.
class LiveAttempts {
public:
    // The log's attempts from `from` on are new or changed.
    void UpdateLog(const std::vector<Attempt>& attempts, std::size_t from);
    // Takes the record's lines not seen yet (all of them when it was read
    // afresh). Returns the log attempts whose state this changed.
    std::vector<std::size_t> UpdateRecord(const AnswersReader& record, bool restarted);

    LiveState StateOf(std::size_t attempt) const;

    // Starts not ended that no registration of the log pairs with yet: the
    // program may keep a registration to itself until the test ends, and a
    // student being tested shows all the same. In the record's order.
    std::vector<std::size_t> UnpairedRunning() const;
    // The record's start, and what it tells, by its index in the record.
    const AttemptStart& Start(std::size_t start) const { return record_->Starts()[start]; }

private:
    std::int32_t KeyOf(const std::string& name, const std::string& platoon);
    // The log attempt a start pairs with, or -1.
    std::int64_t AttemptOfStart(std::size_t start) const;

    // A student's key is "name\x1fplatoon", looked up without being built.
    struct NamePlatoon {
        std::string_view name, platoon;
    };
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const;
        std::size_t operator()(const NamePlatoon& key) const;
    };
    struct KeyEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const { return a == b; }
        bool operator()(const NamePlatoon& a, std::string_view b) const;
        bool operator()(std::string_view a, const NamePlatoon& b) const { return (*this)(b, a); }
    };

    const AnswersReader* record_ = nullptr;
    std::unordered_map<std::string, std::int32_t, KeyHash, KeyEqual> keys_;
    std::vector<std::vector<std::int32_t>> logByKey_;     // log attempts of each key, in order
    std::vector<std::vector<std::int32_t>> startsByKey_;  // record starts of each key, in order
    std::vector<std::int32_t> attemptKey_, attemptOrdinal_;
    std::vector<std::int32_t> startKey_, startOrdinal_;
    std::unordered_map<std::uint64_t, std::int32_t> startOfId_;
    std::unordered_map<std::uint64_t, std::int32_t> endOfId_;
    std::size_t endsTaken_ = 0;
};

}  // namespace viewer
