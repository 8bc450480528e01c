#include "collector/attempt.h"

#include <algorithm>
#include <filesystem>

#include "content/question_bank.h"
#include "content/question_names.h"
#include "engine/question_walk.h"
#include "engine/theme_table.h"
#include "log/answers_record.h"
#include "log/log_entry.h"

namespace collector {

namespace {

std::string AnswersPath(const Attempt& attempt) { return facts::AnswersRecordPath(attempt.logPath).native(); }

}  // namespace

std::int32_t QuestionsAsked(const Attempt& attempt) {
    return attempt.fields.theme == 0 ? 0 : engine::Theme(attempt.fields.theme).QuestionsToAsk;
}

std::int32_t RightCount(const Attempt& attempt) {
    return static_cast<std::int32_t>(
        std::count_if(attempt.shown.begin(), attempt.shown.end(), [](const auto& q) { return q.correct; }));
}

bool Complete(const Attempt& attempt) {
    return attempt.fields.theme != 0 && static_cast<std::int32_t>(attempt.numbers.size()) == QuestionsAsked(attempt);
}

bool WalkAllows(int theme, const std::vector<std::int32_t>& sofar, std::int32_t next) {
    const engine::ThemeRow& row = engine::Theme(theme);
    if (static_cast<std::int32_t>(sofar.size()) >= row.QuestionsToAsk) return false;
    if (sofar.empty()) return next >= 1 && next <= row.BankSize / 2;
    engine::TestState state;
    state.BankSize = row.BankSize;
    state.CurrentQuestion = sofar.front();
    state.WalkBase = sofar.front();
    state.AskedList[0] = sofar.front();
    for (std::size_t i = 1; i <= sofar.size(); ++i) {
        engine::PickNextQuestion(state);
        if (i < sofar.size() && state.CurrentQuestion != sofar[i]) return false;
    }
    return state.CurrentQuestion == next;
}

std::string ChooseTheme(Attempt& attempt, int theme, std::string_view time, std::int64_t nowMs) {
    if (attempt.ended) return "the test has ended";
    if (attempt.fields.theme != 0) return "the theme is chosen already";
    if (theme < 1 || theme > engine::kThemeCount) return "no such theme";
    attempt.fields.theme = theme;
    attempt.lastEventMs = nowMs;
    attempt.writes.push_back(
        {AnswersPath(attempt), resultslog::CollectedStartLine(attempt.fields, time, attempt.account), -1, false});
    return {};
}

std::string TakeAnswer(Attempt& attempt, std::string_view question, int chosen, std::int64_t nowMs) {
    if (attempt.ended) return "the test has ended";
    if (attempt.fields.theme == 0) return "no theme is chosen";
    if (Complete(attempt)) return "every question is answered already";
    const auto id = content::ParseWindowClassName(question);
    if (!id || id->theme != attempt.fields.theme) return "no question of the theme";
    if (!WalkAllows(id->theme, attempt.numbers, id->number)) return "not the question the test asks next";
    if (chosen < 0 || chosen > 4) return "no such position";
    const bool correct = chosen != 0 && chosen == content::Question(*id).right;
    const std::int64_t seconds = std::max<std::int64_t>(0, nowMs - attempt.lastEventMs) / 1000;
    attempt.numbers.push_back(id->number);
    attempt.shown.push_back({std::string(question), chosen, correct, seconds});
    attempt.lastEventMs = nowMs;
    return {};
}

void EndAttempt(Attempt& attempt, resultslog::Ending ending, std::string_view time) {
    if (attempt.ended) return;
    attempt.ended = true;
    attempt.ending = Complete(attempt) ? resultslog::Ending::Finished : ending;
    std::string entry = resultslog::StudentHeaderBytes(attempt.fields.name, attempt.fields.platoon);
    if (Complete(attempt)) entry += resultslog::TestResultBytes({RightCount(attempt), QuestionsAsked(attempt)});
    attempt.writes.push_back({attempt.logPath, std::move(entry), -1, false});
    if (attempt.fields.theme != 0) {
        attempt.writes.push_back(
            {AnswersPath(attempt),
             resultslog::CollectedEndLine(attempt.fields, time, attempt.account, attempt.ending, RightCount(attempt),
                                          QuestionsAsked(attempt), attempt.shown),
             -1, false});
    }
}

}  // namespace collector
