#include "viewer/core/analysis/item_analysis.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "viewer/core/analysis/summary.h"

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

// Whether the selection takes a test; a platoon's key is worked out once
// per way of writing it.
class Selector {
public:
    explicit Selector(const ItemSelection& selection) : selection_(selection) {}

    bool Takes(std::size_t record, const AttemptAnswers& end) {
        if (!selection_.records.empty() && (record >= selection_.records.size() || !selection_.records[record]))
            return false;
        if (selection_.from && end.time < *selection_.from) return false;
        if (selection_.to && end.time > *selection_.to) return false;
        if (selection_.platoon.empty()) return true;
        auto found = platoons_.find(end.platoon);
        if (found == platoons_.end())
            found = platoons_.emplace(end.platoon, PlatoonKey(end.platoon) == selection_.platoon).first;
        return found->second;
    }

private:
    const ItemSelection& selection_;
    std::unordered_map<std::string, bool> platoons_;
};

// Which ends are scored, per record and end: finished ones the selection
// takes, and of those only each student's earliest by the clock unless all
// are wanted. The records of several computers interleave in time; at
// equal times the one read first counts.
std::vector<std::vector<bool>> ScoredEnds(const std::vector<const AnswersReader*>& records, Scoring scoring,
                                          const ItemSelection& selection, ItemAnalysis& counts) {
    std::vector<std::vector<bool>> scored(records.size());
    struct Candidate {
        std::uint64_t student;
        std::int64_t time;
        std::size_t record;
        std::size_t end;
    };
    std::vector<Candidate> candidates;
    std::string buffer;
    Selector selector(selection);
    // A record copied into a second folder holds the same attempts: each
    // counts once, where first read.
    std::unordered_set<std::uint64_t> seen;
    for (std::size_t r = 0; r < records.size(); ++r) {
        const auto& ends = records[r]->Ends();
        scored[r].assign(ends.size(), false);
        for (std::size_t e = 0; e < ends.size(); ++e) {
            if (ends[e].ending != Ending::Finished) continue;
            const std::uint64_t student = StudentHash(ends[e], buffer);
            const std::uint64_t copy =
                ends[e].id ^ (student * 0x9E3779B97F4A7C15ull) ^ (static_cast<std::uint64_t>(ends[e].time) << 17);
            if (!seen.insert(copy).second) continue;
            ++counts.finished;
            if (!selector.Takes(r, ends[e])) continue;
            ++counts.selected;
            if (scoring == Scoring::AllAttempts) {
                scored[r][e] = true;
            } else {
                candidates.push_back({student, ends[e].time, r, e});
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

std::string Share(std::int32_t count, std::int32_t of) { return std::to_string(count) + " из " + std::to_string(of); }

// The wrong option that draws the upper group more than the lower, the
// most so, as the reversed flag names it.
std::string ReversedFlag(const QuestionAnalysis& question) {
    std::string flag = kReversedFlag;
    if (question.key == 0 || question.upperGroup == 0 || question.lowerGroup == 0) return flag;
    std::int32_t drawing = 0;
    double widest = 0;
    for (std::int32_t option = 1; option <= 4; ++option) {
        if (option == question.key) continue;
        const auto o = static_cast<std::size_t>(option);
        const double gap = static_cast<double>(question.upperChosen[o]) / question.upperGroup -
                           static_cast<double>(question.lowerChosen[o]) / question.lowerGroup;
        if (gap > widest) {
            widest = gap;
            drawing = option;
        }
    }
    if (drawing == 0) return flag;
    const auto o = static_cast<std::size_t>(drawing);
    return flag + ": сильные выбирают вариант " + std::to_string(drawing) + " (" +
           Share(question.upperChosen[o], question.upperGroup) + " против " +
           Share(question.lowerChosen[o], question.lowerGroup) + ")";
}

// What the instructor may check or change in a question: one flag per
// cause, the likeliest cause first. A wrong key makes a question look
// hard and reversed; a question nearly all get right cannot separate the
// strong from the weak and leaves its wrong options unchosen.
std::vector<std::string> QuestionFlags(const QuestionAnalysis& question) {
    std::vector<std::string> flags;
    if (question.attempts < kFewestForIndices) return flags;
    const bool reversed = question.discriminationHigh && *question.discriminationHigh < 0;
    if (question.key != 0 && question.attempts >= kFewestForKeyCheck &&
        WilsonUpper(question.right, question.attempts) < 0.25) {
        flags.emplace_back(kWrongKeyFlag);
    } else if (reversed) {
        flags.push_back(ReversedFlag(question));
    } else if (*question.facility > 0.9) {
        flags.emplace_back("слишком легкий");
    } else if (*question.facility < 0.2) {
        flags.emplace_back("слишком трудный");
    } else {
        // Only where the whole interval is short of what a working question shows.
        if (question.discriminationHigh && *question.discriminationHigh < 0.2)
            flags.emplace_back(kNotDiscriminatingFlag);
        std::vector<std::string> unchosen;
        if (question.attempts >= kFewestForUnchosen && question.key != 0) {
            for (std::int32_t option = 1; option <= 4; ++option) {
                if (option != question.key && question.chosen[static_cast<std::size_t>(option)] == 0)
                    unchosen.push_back(std::to_string(option));
            }
        }
        if (unchosen.size() == 1) flags.push_back("вариант " + unchosen[0] + " никто не выбирает");
        if (unchosen.size() > 1) {
            std::string list;
            for (const std::string& option : unchosen) list += (list.empty() ? "" : ", ") + option;
            flags.push_back("варианты " + list + " никто не выбирает");
        }
    }
    if (question.attempts < kFewestForFirmIndices) flags.emplace_back(kRoughNote);
    return flags;
}

// The scored attempts of one bank and theme, copied together: the
// analysis then walks contiguous memory, not 100,000 scattered records.
// Questions are matched by name across records, so the records of every
// computer pool.
struct ThemeData {
    struct Answer {
        std::int32_t slot;  // the question, numbered in this theme
        std::uint8_t chosen;
        bool correct;
        std::int32_t seconds;
    };
    std::vector<Answer> answers;
    std::vector<std::size_t> firstAnswer{0};  // per attempt, and one past the last
    std::vector<std::int32_t> right;          // per attempt
    std::vector<std::int32_t> platoon;        // per attempt, into platoonTexts
    std::vector<std::string> names;           // per slot
    std::unordered_map<std::string, std::int32_t> slotOfName;
    std::vector<std::vector<std::int32_t>> slotsOf;  // per record, per record's question
    std::unordered_map<std::string, std::int32_t> platoonOfText;
    std::vector<std::string> platoonTexts;
    std::int32_t unfinished = 0;

    void Add(std::size_t r, const AnswersReader& record, const AttemptAnswers& end) {
        if (slotsOf.size() <= r) slotsOf.resize(r + 1);
        auto& slots = slotsOf[r];
        for (const GivenAnswer& given : end.answers) {
            const auto question = static_cast<std::size_t>(given.question);
            if (slots.size() <= question) slots.resize(record.QuestionNames().size(), -1);
            if (slots[question] < 0) {
                const std::string& name = record.QuestionNames()[question];
                const auto [place, added] = slotOfName.try_emplace(name, static_cast<std::int32_t>(names.size()));
                if (added) names.push_back(name);
                slots[question] = place->second;
            }
            answers.push_back({slots[question], given.chosen, given.correct, given.seconds});
        }
        firstAnswer.push_back(answers.size());
        right.push_back(end.right);
        const auto [place, added] =
            platoonOfText.try_emplace(end.platoon, static_cast<std::int32_t>(platoonTexts.size()));
        if (added) platoonTexts.push_back(end.platoon);
        platoon.push_back(place->second);
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

// The attempts of one set of questions asked together, item by item.
struct Form {
    std::vector<std::int32_t> slots;   // its questions in bank order
    std::vector<std::uint8_t> scores;  // attempt · k + item: right or wrong
    std::vector<std::uint8_t> chosen;  // attempt · k + item: the option, 0 for none
    std::vector<std::int32_t> totals;  // per attempt

    std::size_t Attempts() const { return totals.size(); }
};

// Groups the attempts by the set of questions they were asked; the sets
// ordered by their questions in bank order.
std::vector<Form> FormsOf(const ThemeData& data) {
    // A set is its questions' slots as bits: no sorting, read in bank order.
    const std::size_t words = (data.names.size() + 63) / 64;
    std::map<std::vector<std::uint64_t>, Form> forms;
    std::vector<std::uint64_t> asked(words);
    std::vector<std::int32_t> item(data.names.size(), 0);  // the slot's place in its set
    for (std::size_t a = 0; a < data.Attempts(); ++a) {
        std::fill(asked.begin(), asked.end(), 0);
        for (std::size_t i = data.firstAnswer[a]; i < data.firstAnswer[a + 1]; ++i) {
            const auto slot = static_cast<std::size_t>(data.answers[i].slot);
            asked[slot / 64] |= std::uint64_t{1} << (slot % 64);
        }
        auto found = forms.find(asked);
        if (found == forms.end()) {
            found = forms.emplace(asked, Form()).first;
            for (std::size_t w = 0; w < words; ++w) {
                for (std::uint64_t bits = asked[w]; bits != 0; bits &= bits - 1) {
                    found->second.slots.push_back(static_cast<std::int32_t>(w * 64 + __builtin_ctzll(bits)));
                }
            }
        }
        Form& form = found->second;
        const std::size_t k = form.slots.size();
        for (std::size_t i = 0; i < k; ++i)
            item[static_cast<std::size_t>(form.slots[i])] = static_cast<std::int32_t>(i);
        const std::size_t base = form.scores.size();
        form.scores.resize(base + k, 0);
        form.chosen.resize(base + k, 0);
        std::int32_t total = 0;
        for (std::size_t i = data.firstAnswer[a]; i < data.firstAnswer[a + 1]; ++i) {
            const ThemeData::Answer& answer = data.answers[i];
            const auto place = base + static_cast<std::size_t>(item[static_cast<std::size_t>(answer.slot)]);
            form.scores[place] = answer.correct ? 1 : 0;
            form.chosen[place] = answer.chosen;
            total += answer.correct ? 1 : 0;
        }
        form.totals.push_back(total);
    }
    std::vector<Form> sorted;
    for (auto& [set, form] : forms) sorted.push_back(std::move(form));
    std::sort(sorted.begin(), sorted.end(), [&](const Form& x, const Form& y) {
        return std::lexicographical_compare(
            x.slots.begin(), x.slots.end(), y.slots.begin(), y.slots.end(), [&](std::int32_t a, std::int32_t b) {
                return BankOrder(data.names[static_cast<std::size_t>(a)], data.names[static_cast<std::size_t>(b)]);
            });
    });
    return sorted;
}

// Each attempt's number right without the questions `left` marks.
std::vector<std::int32_t> KeptTotals(const Form& form, const std::vector<bool>& left) {
    std::vector<std::int32_t> kept = form.totals;
    const std::size_t k = form.slots.size();
    for (std::size_t j = 0; j < k; ++j) {
        if (!left[static_cast<std::size_t>(form.slots[j])]) continue;
        for (std::size_t a = 0; a < form.Attempts(); ++a) kept[a] -= form.scores[a * k + j];
    }
    return kept;
}

// Each question's correlation with the rest of its set, pooled over its
// sets. `left` marks the questions kept out of every rest score.
std::vector<FisherPool> Discriminations(const std::vector<Form>& forms, std::size_t questions,
                                        const std::vector<bool>& left) {
    std::vector<FisherPool> pools(questions);
    for (const Form& form : forms) {
        const std::size_t k = form.slots.size();
        const std::vector<std::int32_t> kept = KeptTotals(form, left);
        for (std::size_t i = 0; i < k; ++i) {
            PointBiserial correlation;
            const bool out = left[static_cast<std::size_t>(form.slots[i])];
            for (std::size_t a = 0; a < form.Attempts(); ++a) {
                correlation.Add(form.scores[a * k + i], kept[a] - (out ? 0 : form.scores[a * k + i]));
            }
            if (const auto r = correlation.Value())
                pools[static_cast<std::size_t>(form.slots[i])].Add(*r, static_cast<std::int64_t>(form.Attempts()));
        }
    }
    return pools;
}

// The choices of each set's upper and lower groups by rest score; ties at
// a group's edge go by the order of the attempts.
void CountGroups(const Form& form, const std::vector<bool>& left, std::vector<QuestionAnalysis>& questions) {
    const std::size_t k = form.slots.size();
    const std::size_t n = form.Attempts();
    const auto group = static_cast<std::size_t>(std::lround(kGroupShare * static_cast<double>(n)));
    if (n < 4 || group == 0) return;
    std::vector<std::vector<std::size_t>> byRest(k + 1);
    const std::vector<std::int32_t> kept = KeptTotals(form, left);
    for (std::size_t i = 0; i < k; ++i) {
        for (auto& attempts : byRest) attempts.clear();
        const bool out = left[static_cast<std::size_t>(form.slots[i])];
        for (std::size_t a = 0; a < n; ++a) {
            const std::int32_t rest = kept[a] - (out ? 0 : form.scores[a * k + i]);
            byRest[static_cast<std::size_t>(std::max(rest, 0))].push_back(a);
        }
        QuestionAnalysis& question = questions[static_cast<std::size_t>(form.slots[i])];
        std::size_t taken = 0;
        for (std::size_t rest = k + 1; rest-- > 0 && taken < group;) {
            for (const std::size_t a : byRest[rest]) {
                if (taken++ == group) break;
                ++question.upperChosen[form.chosen[a * k + i]];
            }
        }
        taken = 0;
        for (std::size_t rest = 0; rest <= k && taken < group; ++rest) {
            for (const std::size_t a : byRest[rest]) {
                if (taken++ == group) break;
                ++question.lowerChosen[form.chosen[a * k + i]];
            }
        }
        question.upperGroup += static_cast<std::int32_t>(group);
        question.lowerGroup += static_cast<std::int32_t>(group);
    }
}

void AnalyzeQuestions(ThemeAnalysis& theme, const ThemeData& data, const std::vector<Form>& forms,
                      const BankLookup& lookup) {
    std::vector<QuestionAnalysis> questions(data.names.size());
    std::vector<std::vector<std::int32_t>> seconds(data.names.size());
    for (const ThemeData::Answer& answer : data.answers) ++questions[static_cast<std::size_t>(answer.slot)].attempts;
    for (std::size_t slot = 0; slot < seconds.size(); ++slot)
        seconds[slot].reserve(static_cast<std::size_t>(questions[slot].attempts));
    for (QuestionAnalysis& question : questions) question.byPlatoon.assign(theme.platoons.size(), {0, 0});
    // The attempts' platoons in the theme's order of platoons.
    std::vector<std::int32_t> platoonRank(data.platoonTexts.size());
    for (std::size_t p = 0; p < data.platoonTexts.size(); ++p) {
        const std::string key = PlatoonKey(data.platoonTexts[p]);
        for (std::size_t q = 0; q < theme.platoons.size(); ++q) {
            if (PlatoonKey(theme.platoons[q]) == key) platoonRank[p] = static_cast<std::int32_t>(q);
        }
    }
    for (std::size_t a = 0; a < data.Attempts(); ++a) {
        const auto platoon = static_cast<std::size_t>(platoonRank[static_cast<std::size_t>(data.platoon[a])]);
        for (std::size_t i = data.firstAnswer[a]; i < data.firstAnswer[a + 1]; ++i) {
            const ThemeData::Answer& answer = data.answers[i];
            const auto slot = static_cast<std::size_t>(answer.slot);
            QuestionAnalysis& question = questions[slot];
            question.right += answer.correct ? 1 : 0;
            ++question.chosen[static_cast<std::size_t>(answer.chosen)];
            ++question.byPlatoon[platoon].first;
            question.byPlatoon[platoon].second += answer.correct ? 1 : 0;
            // Where the bank is not at hand, a right answer shows the key.
            if (answer.correct) question.key = answer.chosen;
            seconds[slot].push_back(answer.seconds);
        }
    }

    // A reversed question pulls every other one's rest score down: found in
    // a first round, it is kept out of the rest scores of the second.
    const std::vector<bool> none(questions.size(), false);
    std::vector<bool> reversed(questions.size(), false);
    const std::vector<FisherPool> first = Discriminations(forms, questions.size(), none);
    for (std::size_t slot = 0; slot < questions.size(); ++slot) {
        const auto pooled = first[slot].Value();
        reversed[slot] = pooled && pooled->high < 0;
    }
    const std::vector<FisherPool> pools = Discriminations(forms, questions.size(), reversed);
    for (const Form& form : forms) CountGroups(form, reversed, questions);

    // Alpha without each question, weighted by the attempts of its sets.
    std::vector<double> alphaSum(questions.size(), 0), alphaWeight(questions.size(), 0);
    for (const Form& form : forms) {
        if (form.Attempts() < static_cast<std::size_t>(kFewestForIndices)) continue;
        const auto without = AlphaWithoutEach(form.scores, form.slots.size());
        for (std::size_t i = 0; i < form.slots.size(); ++i) {
            if (!without[i]) continue;
            const auto slot = static_cast<std::size_t>(form.slots[i]);
            alphaSum[slot] += *without[i] * static_cast<double>(form.Attempts());
            alphaWeight[slot] += static_cast<double>(form.Attempts());
        }
    }

    for (std::size_t slot = 0; slot < questions.size(); ++slot) {
        QuestionAnalysis& question = questions[slot];
        question.name = data.names[slot];
        if (lookup) question.wording = lookup(theme.bank, question.name);
        if (question.wording) question.key = question.wording->right;
        question.medianSeconds = Median(std::move(seconds[slot]));
        if (question.attempts >= kFewestForIndices) {
            question.facility = static_cast<double>(question.right) / question.attempts;
            if (const auto pooled = pools[slot].Value()) {
                question.discrimination = pooled->value;
                question.discriminationLow = pooled->low;
                question.discriminationHigh = pooled->high;
            }
            if (alphaWeight[slot] > 0) question.alphaWithout = alphaSum[slot] / alphaWeight[slot];
        }
        question.flags = QuestionFlags(question);
        theme.questions.push_back(std::move(question));
    }
}

void AnalyzeForms(ThemeAnalysis& theme, const ThemeData& data, const std::vector<Form>& forms) {
    for (const Form& form : forms) {
        FormAnalysis analysis;
        for (const std::int32_t slot : form.slots)
            analysis.questions.push_back(data.names[static_cast<std::size_t>(slot)]);
        const std::vector<double> totals(form.totals.begin(), form.totals.end());
        analysis.attempts = static_cast<std::int32_t>(totals.size());
        analysis.meanScore = Mean(totals);
        analysis.scoreDeviation = StandardDeviation(totals);
        analysis.scoreCounts.assign(form.slots.size() + 1, 0);
        for (const std::int32_t total : form.totals) ++analysis.scoreCounts[static_cast<std::size_t>(total)];
        if (analysis.attempts >= kFewestForIndices) {
            analysis.alpha = CronbachAlpha(form.scores, analysis.questions.size());
            if (analysis.attempts < kFewestForFirmIndices) analysis.flags.emplace_back(kRoughNote);
        }
        theme.forms.push_back(std::move(analysis));
    }
}

// The platoons of the theme's attempts, each once as first written, in platoon order.
std::vector<std::string> PlatoonsOf(const ThemeData& data) {
    std::map<std::string, std::string, PlatoonLess> platoons;
    for (const std::string& text : data.platoonTexts) platoons.try_emplace(PlatoonKey(text), text);
    std::vector<std::string> list;
    for (auto& [key, text] : platoons) list.push_back(text);
    return list;
}

}  // namespace

ItemAnalysis AnalyzeItems(const std::vector<const AnswersReader*>& records, Scoring scoring, const BankLookup& bank,
                          const ItemSelection& selection) {
    ItemAnalysis analysis;
    const std::vector<std::vector<bool>> scored = ScoredEnds(records, scoring, selection, analysis);
    // Banks in the order first met, themes by number.
    std::vector<std::uint32_t> banks;
    std::map<std::pair<std::size_t, std::int32_t>, ThemeData> themes;
    Selector selector(selection);
    for (std::size_t r = 0; r < records.size(); ++r) {
        const auto& ends = records[r]->Ends();
        for (std::size_t e = 0; e < ends.size(); ++e) {
            const AttemptAnswers& end = ends[e];
            if (end.ending != Ending::Finished && !selector.Takes(r, end)) continue;
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

    for (auto& [key, data] : themes) {
        if (data.Attempts() == 0 && data.unfinished == 0) continue;
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
        theme.platoons = PlatoonsOf(data);
        const std::vector<Form> forms = FormsOf(data);
        AnalyzeQuestions(theme, data, forms, bank);
        AnalyzeForms(theme, data, forms);
        analysis.themes.push_back(std::move(theme));
    }
    return analysis;
}

}  // namespace viewer
