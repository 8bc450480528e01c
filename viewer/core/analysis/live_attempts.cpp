#include "viewer/core/analysis/live_attempts.h"

#include <algorithm>

namespace viewer {

std::string LiveStateText(const LiveState& state, std::int64_t now) {
    switch (state.kind) {
        case LiveKind::Unknown: return {};
        case LiveKind::Running: {
            const std::int64_t minutes = std::max<std::int64_t>(0, now - state.started) / 60;
            return "идет тест, тема " + std::to_string(state.theme) + ", " + std::to_string(minutes) + " мин";
        }
        case LiveKind::Stopped: return "прекращено студентом";
        case LiveKind::ProgramEnd: return "прервано: программа закрыта";
        case LiveKind::Abandoned: return "прервано";
        case LiveKind::Ended: return "тест окончен, результат не записан";
    }
    return {};
}

namespace {

// A unit separator cannot be typed into either field.
constexpr char kSeparator = '\x1f';

// The parts hashed apart and combined, so that a key written out hashes as
// its two parts do.
std::size_t HashParts(std::string_view name, std::string_view platoon) {
    const std::size_t first = std::hash<std::string_view>{}(name);
    return first ^ (std::hash<std::string_view>{}(platoon) + 0x9e3779b97f4a7c15ull + (first << 6) + (first >> 2));
}

}  // namespace

std::size_t LiveAttempts::KeyHash::operator()(std::string_view key) const {
    const std::size_t separator = key.find(kSeparator);
    return HashParts(key.substr(0, separator), key.substr(separator + 1));
}

std::size_t LiveAttempts::KeyHash::operator()(const NamePlatoon& key) const { return HashParts(key.name, key.platoon); }

bool LiveAttempts::KeyEqual::operator()(const NamePlatoon& a, std::string_view b) const {
    return b.size() == a.name.size() + 1 + a.platoon.size() && b.starts_with(a.name) &&
           b[a.name.size()] == kSeparator && b.ends_with(a.platoon);
}

std::int32_t LiveAttempts::KeyOf(const std::string& name, const std::string& platoon) {
    const NamePlatoon key{name, platoon};
    if (const auto found = keys_.find(key); found != keys_.end()) return found->second;
    const auto index = static_cast<std::int32_t>(logByKey_.size());
    keys_.emplace(name + kSeparator + platoon, index);
    logByKey_.emplace_back();
    startsByKey_.emplace_back();
    return index;
}

void LiveAttempts::UpdateLog(const std::vector<Attempt>& attempts, std::size_t from) {
    // Attempts are only ever changed at the end: drop them from there.
    while (attemptKey_.size() > from) {
        logByKey_[static_cast<std::size_t>(attemptKey_.back())].pop_back();
        attemptKey_.pop_back();
        attemptOrdinal_.pop_back();
    }
    keys_.reserve(keys_.size() + attempts.size() - attemptKey_.size());
    for (std::size_t i = attemptKey_.size(); i < attempts.size(); ++i) {
        const std::int32_t key = KeyOf(attempts[i].fullName, attempts[i].platoon);
        auto& ofKey = logByKey_[static_cast<std::size_t>(key)];
        attemptKey_.push_back(key);
        attemptOrdinal_.push_back(static_cast<std::int32_t>(ofKey.size()));
        ofKey.push_back(static_cast<std::int32_t>(i));
    }
}

std::int64_t LiveAttempts::AttemptOfStart(std::size_t start) const {
    const auto& ofKey = logByKey_[static_cast<std::size_t>(startKey_[start])];
    const auto ordinal = static_cast<std::size_t>(startOrdinal_[start]);
    return ordinal < ofKey.size() ? ofKey[ordinal] : -1;
}

std::vector<std::size_t> LiveAttempts::UpdateRecord(const AnswersReader& record, bool restarted) {
    std::vector<std::size_t> changed;
    if (restarted) {
        for (std::size_t start = 0; start < startKey_.size(); ++start) {
            if (const std::int64_t attempt = AttemptOfStart(start); attempt >= 0)
                changed.push_back(static_cast<std::size_t>(attempt));
        }
        for (auto& ofKey : startsByKey_) ofKey.clear();
        startKey_.clear();
        startOrdinal_.clear();
        startOfId_.clear();
        endOfId_.clear();
        endsTaken_ = 0;
    }
    record_ = &record;
    const auto& starts = record.Starts();
    for (std::size_t s = startKey_.size(); s < starts.size(); ++s) {
        const std::int32_t key = KeyOf(starts[s].fullName, starts[s].platoon);
        auto& ofKey = startsByKey_[static_cast<std::size_t>(key)];
        startKey_.push_back(key);
        startOrdinal_.push_back(static_cast<std::int32_t>(ofKey.size()));
        ofKey.push_back(static_cast<std::int32_t>(s));
        startOfId_.try_emplace(starts[s].id, static_cast<std::int32_t>(s));
        if (const std::int64_t attempt = AttemptOfStart(s); attempt >= 0)
            changed.push_back(static_cast<std::size_t>(attempt));
    }
    const auto& ends = record.Ends();
    for (; endsTaken_ < ends.size(); ++endsTaken_) {
        endOfId_.try_emplace(ends[endsTaken_].id, static_cast<std::int32_t>(endsTaken_));
        const auto start = startOfId_.find(ends[endsTaken_].id);
        if (start == startOfId_.end()) continue;
        if (const std::int64_t attempt = AttemptOfStart(static_cast<std::size_t>(start->second)); attempt >= 0)
            changed.push_back(static_cast<std::size_t>(attempt));
    }
    return changed;
}

LiveState LiveAttempts::StateOf(std::size_t attempt) const {
    if (record_ == nullptr || attempt >= attemptKey_.size()) return {};
    const auto& starts = startsByKey_[static_cast<std::size_t>(attemptKey_[attempt])];
    const auto ordinal = static_cast<std::size_t>(attemptOrdinal_[attempt]);
    if (ordinal >= starts.size()) return {};
    const AttemptStart& start = record_->Starts()[static_cast<std::size_t>(starts[ordinal])];
    LiveState state{LiveKind::Running, start.theme, start.time};
    if (const auto end = endOfId_.find(start.id); end != endOfId_.end()) {
        switch (record_->Ends()[static_cast<std::size_t>(end->second)].ending) {
            case Ending::Finished: state.kind = LiveKind::Ended; break;
            case Ending::Stopped: state.kind = LiveKind::Stopped; break;
            case Ending::ProgramEnd: state.kind = LiveKind::ProgramEnd; break;
            case Ending::Abandoned: state.kind = LiveKind::Abandoned; break;
        }
    }
    return state;
}

std::vector<std::size_t> LiveAttempts::UnpairedRunning() const {
    std::vector<std::size_t> unpaired;
    if (record_ == nullptr) return unpaired;
    for (std::size_t start = 0; start < startKey_.size(); ++start) {
        if (AttemptOfStart(start) >= 0) continue;
        if (endOfId_.contains(record_->Starts()[start].id)) continue;
        unpaired.push_back(start);
    }
    return unpaired;
}

}  // namespace viewer
