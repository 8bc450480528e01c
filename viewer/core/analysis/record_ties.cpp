#include "viewer/core/analysis/record_ties.h"

#include <unordered_map>

namespace viewer {

namespace {

// A unit separator cannot be typed into either field.
std::string KeyOf(const std::string& name, const std::string& platoon) { return name + '\x1f' + platoon; }

// Spaces do not make another person: "Иванов  Иван " is "Иванов Иван".
std::string NameKey(const std::string& name) {
    std::string key;
    for (const char c : name) {
        if (c == ' ' || c == '\t') {
            if (!key.empty() && key.back() != ' ') key += ' ';
        } else {
            key += c;
        }
    }
    if (!key.empty() && key.back() == ' ') key.pop_back();
    return key;
}

std::string CountText(std::int32_t right, std::int32_t asked) {
    return std::to_string(right) + " из " + std::to_string(asked);
}

void Flag(AttemptTie& tie, const std::string& problem) {
    tie.problem += tie.problem.empty() ? problem : "; " + problem;
}

}  // namespace

LogTies TieLogToRecord(const std::vector<Attempt>& attempts, const AnswersReader& record, bool recordsKept) {
    LogTies ties;
    ties.attempts.resize(attempts.size());
    const auto& ends = record.Ends();
    std::unordered_map<std::string, std::vector<std::size_t>> endsOf;  // finished ones, in order
    for (std::size_t e = 0; e < ends.size(); ++e) {
        if (ends[e].ending == Ending::Finished) endsOf[KeyOf(ends[e].fullName, ends[e].platoon)].push_back(e);
    }
    std::unordered_map<std::string, std::vector<std::size_t>> startsOf;
    for (std::size_t s = 0; s < record.Starts().size(); ++s) {
        startsOf[KeyOf(record.Starts()[s].fullName, record.Starts()[s].platoon)].push_back(s);
    }
    std::vector<bool> used(ends.size(), false);
    std::vector<std::size_t> untied;
    std::unordered_map<std::string, std::size_t> registrations;
    for (std::size_t a = 0; a < attempts.size(); ++a) {
        const Attempt& attempt = attempts[a];
        const std::string key = KeyOf(attempt.fullName, attempt.platoon);
        const std::size_t ordinal = registrations[key]++;
        if (!attempt.Finished()) {
            const auto starts = startsOf.find(key);
            if (starts != startsOf.end() && ordinal < starts->second.size())
                ties.attempts[a].account = record.Starts()[starts->second[ordinal]].account;
            continue;
        }
        bool tied = false;
        if (const auto found = endsOf.find(key); found != endsOf.end()) {
            for (const std::size_t e : found->second) {
                if (used[e] || ends[e].right != attempt.rightCount || ends[e].asked != attempt.questionCount) continue;
                used[e] = true;
                ties.attempts[a].account = ends[e].account;
                tied = true;
                break;
            }
        }
        if (!tied) untied.push_back(a);
    }
    for (const std::size_t a : untied) {
        const Attempt& attempt = attempts[a];
        const auto found = endsOf.find(KeyOf(attempt.fullName, attempt.platoon));
        std::size_t end = ends.size();
        if (found != endsOf.end()) {
            for (const std::size_t e : found->second) {
                if (!used[e]) {
                    end = e;
                    break;
                }
            }
        }
        std::string problem;
        if (end < ends.size()) {
            used[end] = true;
            ties.attempts[a].account = ends[end].account;
            problem = "правильных ответов " + CountText(attempt.rightCount, attempt.questionCount) +
                      ", а по ответам в записи ответов (строка " + std::to_string(ends[end].line) + ") " +
                      CountText(ends[end].right, ends[end].asked);
        } else if (recordsKept) {
            problem = "результат без попытки: в записи ответов нет конца законченного теста с этим ФИО и взводом";
        }
        if (problem.empty()) continue;
        Flag(ties.attempts[a], problem);
        ties.remarks.push_back({attempt.line, "«" + attempt.fullName + "», " + problem});
    }
    return ties;
}

std::string SharedName::Text() const {
    std::string list;
    for (const std::string& account : accounts) list += (list.empty() ? "" : ", ") + account;
    return "ФИО «" + fullName + "» записано разными учетными записями: " + list;
}

std::vector<SharedName> NamesOfSeveralAccounts(const std::vector<const AnswersReader*>& records) {
    std::unordered_map<std::string, std::size_t> index;  // name → place in `names`
    std::vector<SharedName> names;
    const auto take = [&](const std::string& fullName, const std::string& account, std::size_t record,
                          std::int64_t line) {
        if (account.empty()) return;
        const auto [place, added] = index.try_emplace(NameKey(fullName), names.size());
        if (added) {
            names.push_back({fullName, {account}, record, line});
            return;
        }
        SharedName& name = names[place->second];
        for (const std::string& known : name.accounts) {
            if (known == account) return;
        }
        if (name.accounts.size() == 1) {
            name.record = record;
            name.line = line;
        }
        name.accounts.push_back(account);
    };
    for (std::size_t r = 0; r < records.size(); ++r) {
        // Starts and ends in line order, so the remark names the first line by another account.
        const auto& starts = records[r]->Starts();
        const auto& ends = records[r]->Ends();
        std::size_t s = 0, e = 0;
        while (s < starts.size() || e < ends.size()) {
            if (e == ends.size() || (s < starts.size() && starts[s].line < ends[e].line)) {
                take(starts[s].fullName, starts[s].account, r, starts[s].line);
                ++s;
            } else {
                take(ends[e].fullName, ends[e].account, r, ends[e].line);
                ++e;
            }
        }
    }
    std::vector<SharedName> shared;
    for (SharedName& name : names) {
        if (name.accounts.size() > 1) shared.push_back(std::move(name));
    }
    return shared;
}

void FlagSharedNames(const std::vector<SharedName>& shared, const std::vector<Attempt>& attempts, LogTies& ties) {
    if (shared.empty()) return;
    std::unordered_map<std::string, const SharedName*> byName;
    for (const SharedName& name : shared) byName.emplace(NameKey(name.fullName), &name);
    for (std::size_t a = 0; a < attempts.size() && a < ties.attempts.size(); ++a) {
        const auto found = byName.find(NameKey(attempts[a].fullName));
        if (found != byName.end()) Flag(ties.attempts[a], found->second->Text());
    }
}

}  // namespace viewer
