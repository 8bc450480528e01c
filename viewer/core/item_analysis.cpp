#include "viewer/core/item_analysis.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <unordered_map>

#include "viewer/core/summary.h"

namespace viewer {

namespace {

// Window class names of one theme differ only in the question number,
// which grows with the name's length: "Tq39" before "Tq310".
bool BankOrder(const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// A student is the name and platoon without the spaces around and between
// words (StudentKey), and a student's tests of different themes are first
// attempts each. Hashed as StudentKey reads them, so that no string is
// built for 100,000 attempts; equal hashes are compared in full.
void AppendSimplified(const std::string& text, std::string& out) {
    bool space = false;
    bool any = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t') {
            space = any;
            continue;
        }
        if (space) out += ' ';
        space = false;
        any = true;
        out += c;
    }
}

std::uint64_t StudentHash(const AttemptAnswers& end, std::string& buffer) {
    buffer.clear();
    AppendSimplified(end.fullName, buffer);
    buffer += '\n';
    AppendSimplified(end.platoon, buffer);
    buffer += '\n';
    buffer += static_cast<char>(end.theme);
    return std::hash<std::string_view>{}(buffer);
}

bool SameStudent(const AttemptAnswers& a, const AttemptAnswers& b) {
    return a.theme == b.theme && StudentKey(a.fullName, a.platoon) == StudentKey(b.fullName, b.platoon);
}

// Which ends are scored, per record and end: finished ones, and of those
// only each student's earliest by the clock unless all are wanted. The
// records of several computers interleave in time; at equal times the
// one read first counts.
std::vector<std::vector<bool>> ScoredEnds(const std::vector<const AnswersReader*>& records, Scoring scoring) {
    std::vector<std::vector<bool>> scored(records.size());
    struct Candidate {
        std::uint64_t student;
        std::int64_t time;
        std::size_t record;
        std::size_t end;
    };
    std::vector<Candidate> candidates;
    std::string buffer;
    for (std::size_t r = 0; r < records.size(); ++r) {
        const auto& ends = records[r]->Ends();
        scored[r].assign(ends.size(), false);
        for (std::size_t e = 0; e < ends.size(); ++e) {
            if (ends[e].ending != Ending::Finished) continue;
            if (scoring == Scoring::AllAttempts) {
                scored[r][e] = true;
            } else {
                candidates.push_back({StudentHash(ends[e], buffer), ends[e].time, r, e});
            }
        }
    }
    // Each student's attempts together, the earliest first.
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return std::tie(a.student, a.time, a.record, a.end) < std::tie(b.student, b.time, b.record, b.end);
    });
    std::vector<const AttemptAnswers*> counted;  // of the current hash: more than one only if two students share it
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (i == 0 || candidates[i].student != candidates[i - 1].student) counted.clear();
        const AttemptAnswers& end = records[candidates[i].record]->Ends()[candidates[i].end];
        if (std::any_of(counted.begin(), counted.end(),
                        [&](const AttemptAnswers* earlier) { return SameStudent(*earlier, end); })) {
            continue;
        }
        counted.push_back(&end);
        scored[candidates[i].record][candidates[i].end] = true;
    }
    return scored;
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

// The scored attempts of one bank and theme, copied together: the
// analysis then walks contiguous memory, not 100,000 scattered records.
struct ThemeData {
    struct Answer {
        std::int32_t slot;  // the question, numbered in this theme
        std::uint8_t chosen;
        bool correct;
        std::int32_t seconds;
    };
    std::vector<Answer> answers;
    std::vector<std::size_t> firstAnswer{0};         // per attempt, and one past the last
    std::vector<std::int32_t> right;                 // per attempt
    std::vector<std::string> names;                  // per slot
    std::vector<std::vector<std::int32_t>> slotsOf;  // per record, per record's question
    std::int32_t unfinished = 0;

    void Add(std::size_t r, const AnswersReader& record, const AttemptAnswers& end) {
        if (slotsOf.size() <= r) slotsOf.resize(r + 1);
        auto& slots = slotsOf[r];
        for (const GivenAnswer& given : end.answers) {
            const auto question = static_cast<std::size_t>(given.question);
            if (slots.size() <= question) slots.resize(record.QuestionNames().size(), -1);
            if (slots[question] < 0) {
                slots[question] = static_cast<std::int32_t>(names.size());
                names.push_back(record.QuestionNames()[question]);
            }
            answers.push_back({slots[question], given.chosen, given.correct, given.seconds});
        }
        firstAnswer.push_back(answers.size());
        right.push_back(end.right);
    }

    // Renumbers the slots in bank order.
    void SortQuestions() {
        std::vector<std::int32_t> order(names.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::int32_t>(i);
        std::sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) {
            return BankOrder(names[static_cast<std::size_t>(a)], names[static_cast<std::size_t>(b)]);
        });
        std::vector<std::int32_t> rank(names.size());
        std::vector<std::string> sorted;
        for (std::size_t i = 0; i < order.size(); ++i) {
            rank[static_cast<std::size_t>(order[i])] = static_cast<std::int32_t>(i);
            sorted.push_back(std::move(names[static_cast<std::size_t>(order[i])]));
        }
        names = std::move(sorted);
        for (Answer& answer : answers) answer.slot = rank[static_cast<std::size_t>(answer.slot)];
    }

    std::size_t Attempts() const { return right.size(); }
};

void AnalyzeQuestions(ThemeAnalysis& theme, const ThemeData& data, const BankLookup& lookup) {
    struct Scores {
        PointBiserial discrimination;
        std::vector<std::int32_t> seconds;
    };
    std::vector<QuestionAnalysis> questions(data.names.size());
    for (const ThemeData::Answer& answer : data.answers) ++questions[static_cast<std::size_t>(answer.slot)].attempts;
    std::vector<Scores> scores(data.names.size());
    for (std::size_t slot = 0; slot < scores.size(); ++slot) {
        const auto attempts = static_cast<std::size_t>(questions[slot].attempts);
        scores[slot].seconds.reserve(attempts);
    }
    for (std::size_t a = 0; a < data.Attempts(); ++a) {
        for (std::size_t i = data.firstAnswer[a]; i < data.firstAnswer[a + 1]; ++i) {
            const ThemeData::Answer& answer = data.answers[i];
            const auto slot = static_cast<std::size_t>(answer.slot);
            QuestionAnalysis& question = questions[slot];
            Scores& score = scores[slot];
            question.right += answer.correct ? 1 : 0;
            ++question.chosen[static_cast<std::size_t>(answer.chosen)];
            // Where the bank is not at hand, a right answer shows the key.
            if (answer.correct) question.key = answer.chosen;
            score.discrimination.Add(answer.correct ? 1 : 0, data.right[a] - (answer.correct ? 1 : 0));
            score.seconds.push_back(answer.seconds);
        }
    }
    for (std::size_t slot = 0; slot < questions.size(); ++slot) {
        QuestionAnalysis& question = questions[slot];
        Scores& score = scores[slot];
        question.name = data.names[slot];
        if (lookup) question.wording = lookup(theme.bank, question.name);
        if (question.wording) question.key = question.wording->right;
        question.medianSeconds = Median(std::move(score.seconds));
        if (question.attempts >= kFewestForIndices) {
            question.facility = static_cast<double>(question.right) / question.attempts;
            question.discrimination = score.discrimination.Value();
        }
        question.flags = QuestionFlags(question);
        theme.questions.push_back(std::move(question));
    }
}

void AnalyzeForms(ThemeAnalysis& theme, const ThemeData& data) {
    struct Form {
        std::vector<std::uint8_t> scores;  // attempt by attempt, the form's questions in bank order
        std::vector<double> totals;
    };
    // A form is the set of its questions' slots, as bits: no sorting, and
    // read back in bank order.
    const std::size_t words = (data.names.size() + 63) / 64;
    std::map<std::vector<std::uint64_t>, Form> forms;
    std::vector<std::uint64_t> asked(words);
    std::vector<std::uint64_t> right(words);
    for (std::size_t a = 0; a < data.Attempts(); ++a) {
        std::fill(asked.begin(), asked.end(), 0);
        std::fill(right.begin(), right.end(), 0);
        for (std::size_t i = data.firstAnswer[a]; i < data.firstAnswer[a + 1]; ++i) {
            const auto slot = static_cast<std::size_t>(data.answers[i].slot);
            asked[slot / 64] |= std::uint64_t{1} << (slot % 64);
            if (data.answers[i].correct) right[slot / 64] |= std::uint64_t{1} << (slot % 64);
        }
        auto found = forms.find(asked);
        if (found == forms.end()) found = forms.emplace(asked, Form()).first;
        for (std::size_t w = 0; w < words; ++w) {
            for (std::uint64_t bits = asked[w]; bits != 0; bits &= bits - 1) {
                found->second.scores.push_back((right[w] & bits & -bits) != 0 ? 1 : 0);
            }
        }
        found->second.totals.push_back(data.right[a]);
    }
    for (const auto& [set, form] : forms) {
        FormAnalysis analysis;
        for (std::size_t w = 0; w < words; ++w) {
            for (std::uint64_t bits = set[w]; bits != 0; bits &= bits - 1) {
                analysis.questions.push_back(data.names[w * 64 + static_cast<std::size_t>(__builtin_ctzll(bits))]);
            }
        }
        analysis.attempts = static_cast<std::int32_t>(form.totals.size());
        analysis.meanScore = Mean(form.totals);
        analysis.scoreDeviation = StandardDeviation(form.totals);
        if (analysis.attempts >= kFewestForIndices) {
            analysis.alpha = CronbachAlpha(form.scores, analysis.questions.size());
            if (analysis.attempts < kFewestForFirmIndices) analysis.flags.emplace_back(kRoughNote);
        }
        theme.forms.push_back(std::move(analysis));
    }
    // The sets by their questions in bank order, as the slots' bits do not sort them.
    std::sort(theme.forms.begin(), theme.forms.end(), [&](const FormAnalysis& x, const FormAnalysis& y) {
        return std::lexicographical_compare(x.questions.begin(), x.questions.end(), y.questions.begin(),
                                            y.questions.end(), BankOrder);
    });
}

}  // namespace

ItemAnalysis AnalyzeItems(const std::vector<const AnswersReader*>& records, Scoring scoring, const BankLookup& bank) {
    const std::vector<std::vector<bool>> scored = ScoredEnds(records, scoring);
    // Banks in the order first met, themes by number.
    std::vector<std::uint32_t> banks;
    std::map<std::pair<std::size_t, std::int32_t>, ThemeData> themes;
    for (std::size_t r = 0; r < records.size(); ++r) {
        const auto& ends = records[r]->Ends();
        for (std::size_t e = 0; e < ends.size(); ++e) {
            const AttemptAnswers& end = ends[e];
            auto found = std::find(banks.begin(), banks.end(), end.bank);
            if (found == banks.end()) found = banks.insert(banks.end(), end.bank);
            ThemeData& data = themes[{static_cast<std::size_t>(found - banks.begin()), end.theme}];
            if (end.ending != Ending::Finished) {
                ++data.unfinished;
            } else if (scored[r][e]) {
                data.Add(r, *records[r], end);
            }
        }
    }

    ItemAnalysis analysis;
    for (auto& [key, data] : themes) {
        ThemeAnalysis theme;
        theme.bank = banks[key.first];
        theme.theme = key.second;
        theme.attempts = static_cast<std::int32_t>(data.Attempts());
        theme.unfinished = data.unfinished;
        const std::vector<double> totals(data.right.begin(), data.right.end());
        theme.meanScore = Mean(totals);
        theme.scoreDeviation = StandardDeviation(totals);
        if (theme.attempts > 0 && theme.attempts < kFewestForFirmIndices) theme.flags.emplace_back(kRoughNote);
        data.SortQuestions();
        AnalyzeQuestions(theme, data, bank);
        AnalyzeForms(theme, data);
        analysis.themes.push_back(std::move(theme));
    }
    return analysis;
}

}  // namespace viewer
