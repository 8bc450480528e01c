#include "viewer/core/item_analysis.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "viewer/core/summary.h"

namespace viewer {

namespace {

// Window class names of one theme differ only in the question number,
// which grows with the name's length: "Tq39" before "Tq310".
bool BankOrder(const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

struct ScoredAttempt {
    const AttemptAnswers* end = nullptr;
    const AnswersReader* record = nullptr;
    const std::string& Name(const GivenAnswer& answer) const {
        return record->QuestionNames()[static_cast<std::size_t>(answer.question)];
    }
};

std::string Student(const AttemptAnswers& end) {
    Attempt attempt;
    attempt.fullName = end.fullName;
    attempt.platoon = end.platoon;
    return StudentKey(attempt) + '\n' + std::to_string(end.theme);
}

std::vector<ScoredAttempt> ScoredAttempts(const std::vector<const AnswersReader*>& records, Scoring scoring) {
    std::vector<ScoredAttempt> scored;
    for (const AnswersReader* record : records) {
        for (const AttemptAnswers& end : record->Ends()) {
            if (end.ending == Ending::Finished) scored.push_back({&end, record});
        }
    }
    if (scoring == Scoring::AllAttempts) return scored;
    // The earliest by the clock; records of several computers interleave.
    std::stable_sort(scored.begin(), scored.end(),
                     [](const ScoredAttempt& a, const ScoredAttempt& b) { return a.end->time < b.end->time; });
    std::unordered_map<std::string, bool> seen;
    std::vector<ScoredAttempt> first;
    for (const ScoredAttempt& attempt : scored) {
        if (seen.try_emplace(Student(*attempt.end), true).second) first.push_back(attempt);
    }
    return first;
}

// What the instructor may check or change in a question.
std::vector<std::string> QuestionFlags(const QuestionAnalysis& question) {
    std::vector<std::string> flags;
    if (question.attempts < kFewestForIndices) return flags;
    if (*question.facility > 0.9) flags.emplace_back("слишком легкий");
    if (*question.facility < 0.2) flags.emplace_back("слишком трудный");
    if (question.discrimination && *question.discrimination < 0) {
        flags.emplace_back("различает наоборот");
    } else if (question.discrimination && *question.discrimination < 0.2) {
        flags.emplace_back("не различает сильных и слабых");
    }
    if (question.attempts >= kFewestForUnchosen && question.key != 0) {
        for (std::int32_t option = 1; option <= 4; ++option) {
            if (option != question.key && question.chosen[static_cast<std::size_t>(option)] == 0) {
                flags.push_back("вариант " + std::to_string(option) + " никто не выбирает");
            }
        }
    }
    if (question.attempts < kFewestForFirmIndices) flags.emplace_back(kRoughNote);
    return flags;
}

struct QuestionScores {
    std::vector<std::uint8_t> item;
    std::vector<double> rest;
    std::vector<double> seconds;
};

void AnalyzeQuestions(ThemeAnalysis& theme, const std::vector<ScoredAttempt>& attempts, std::uint32_t bank,
                      const BankLookup& lookup) {
    std::map<std::string, QuestionAnalysis, decltype(&BankOrder)> questions(&BankOrder);
    std::map<std::string, QuestionScores, decltype(&BankOrder)> scores(&BankOrder);
    for (const ScoredAttempt& attempt : attempts) {
        for (const GivenAnswer& answer : attempt.end->answers) {
            const std::string& name = attempt.Name(answer);
            QuestionAnalysis& question = questions[name];
            QuestionScores& score = scores[name];
            ++question.attempts;
            question.right += answer.correct ? 1 : 0;
            ++question.chosen[static_cast<std::size_t>(answer.chosen)];
            // Where the bank is not at hand, a right answer shows the key.
            if (answer.correct) question.key = answer.chosen;
            score.item.push_back(answer.correct ? 1 : 0);
            score.rest.push_back(attempt.end->right - (answer.correct ? 1 : 0));
            score.seconds.push_back(answer.seconds);
        }
    }
    for (auto& [name, question] : questions) {
        const QuestionScores& score = scores[name];
        question.name = name;
        if (lookup) question.wording = lookup(bank, name);
        if (question.wording) question.key = question.wording->right;
        question.medianSeconds = Median(score.seconds);
        if (question.attempts >= kFewestForIndices) {
            question.facility = static_cast<double>(question.right) / question.attempts;
            question.discrimination = PointBiserial(score.item, score.rest);
        }
        question.flags = QuestionFlags(question);
        theme.questions.push_back(std::move(question));
    }
}

void AnalyzeForms(ThemeAnalysis& theme, const std::vector<ScoredAttempt>& attempts) {
    struct Form {
        std::vector<std::string> questions;
        ScoreMatrix scores;
        std::vector<double> totals;
    };
    std::map<std::vector<std::string>, Form> forms;
    for (const ScoredAttempt& attempt : attempts) {
        std::vector<std::pair<std::string, std::uint8_t>> items;
        for (const GivenAnswer& answer : attempt.end->answers) {
            items.emplace_back(attempt.Name(answer), answer.correct ? 1 : 0);
        }
        std::sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return BankOrder(a.first, b.first); });
        std::vector<std::string> names;
        std::vector<std::uint8_t> row;
        for (auto& [name, correct] : items) {
            names.push_back(std::move(name));
            row.push_back(correct);
        }
        Form& form = forms[names];
        form.questions = std::move(names);
        form.scores.push_back(std::move(row));
        form.totals.push_back(attempt.end->right);
    }
    for (auto& [key, form] : forms) {
        FormAnalysis analysis;
        analysis.questions = form.questions;
        analysis.attempts = static_cast<std::int32_t>(form.scores.size());
        analysis.meanScore = Mean(form.totals);
        analysis.scoreDeviation = StandardDeviation(form.totals);
        if (analysis.attempts >= kFewestForIndices) {
            analysis.alpha = CronbachAlpha(form.scores);
            if (analysis.attempts < kFewestForFirmIndices) analysis.flags.emplace_back(kRoughNote);
        }
        theme.forms.push_back(std::move(analysis));
    }
    std::sort(theme.forms.begin(), theme.forms.end(), [](const FormAnalysis& a, const FormAnalysis& b) {
        return std::lexicographical_compare(a.questions.begin(), a.questions.end(), b.questions.begin(),
                                            b.questions.end(), BankOrder);
    });
}

}  // namespace

ItemAnalysis AnalyzeItems(const std::vector<const AnswersReader*>& records, Scoring scoring, const BankLookup& bank) {
    // Banks in the order first met, themes by number.
    std::vector<std::uint32_t> banks;
    std::map<std::pair<std::size_t, std::int32_t>, std::vector<ScoredAttempt>> groups;
    std::map<std::pair<std::size_t, std::int32_t>, std::int32_t> unfinished;
    auto bankIndex = [&](std::uint32_t fingerprint) {
        const auto found = std::find(banks.begin(), banks.end(), fingerprint);
        if (found != banks.end()) return static_cast<std::size_t>(found - banks.begin());
        banks.push_back(fingerprint);
        return banks.size() - 1;
    };
    for (const AnswersReader* record : records) {
        for (const AttemptAnswers& end : record->Ends()) {
            const auto key = std::make_pair(bankIndex(end.bank), end.theme);
            groups[key];
            if (end.ending != Ending::Finished) ++unfinished[key];
        }
    }
    for (const ScoredAttempt& attempt : ScoredAttempts(records, scoring)) {
        groups[{bankIndex(attempt.end->bank), attempt.end->theme}].push_back(attempt);
    }

    ItemAnalysis analysis;
    for (const auto& [key, attempts] : groups) {
        ThemeAnalysis theme;
        theme.bank = banks[key.first];
        theme.theme = key.second;
        theme.attempts = static_cast<std::int32_t>(attempts.size());
        theme.unfinished = unfinished[key];
        std::vector<double> totals;
        for (const ScoredAttempt& attempt : attempts) totals.push_back(attempt.end->right);
        theme.meanScore = Mean(totals);
        theme.scoreDeviation = StandardDeviation(totals);
        if (theme.attempts > 0 && theme.attempts < kFewestForFirmIndices) theme.flags.emplace_back(kRoughNote);
        AnalyzeQuestions(theme, attempts, theme.bank, bank);
        AnalyzeForms(theme, attempts);
        analysis.themes.push_back(std::move(theme));
    }
    return analysis;
}

}  // namespace viewer
