#include "viewer/core/analysis/summary.h"

#include <QCollator>
#include <QLocale>
#include <QString>

#include <algorithm>
#include <set>
#include <unordered_map>

#include "engine/grading.h"

namespace viewer {

namespace {

// Spaces around and between words do not make another student.
std::string Simplified(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    bool space = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t') {
            space = !out.empty();
        } else {
            if (space) out += ' ';
            space = false;
            out += c;
        }
    }
    return out;
}

QCollator MakePlatoonCollator() {
    QCollator collator(QLocale(QLocale::Russian, QLocale::Russia));
    collator.setNumericMode(true);
    return collator;
}

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void Count(Tally& tally, const Attempt& attempt) {
    if (!attempt.Finished()) {
        ++tally.unfinished;
        return;
    }
    ++tally.finished;
    const std::int32_t grade = *GradeOf(attempt);
    ++tally.gradeCounts[static_cast<std::size_t>(grade)];
    tally.gradeSum += grade;
    tally.percentSum += 100.0 * attempt.rightCount / attempt.questionCount;
}

}  // namespace

std::optional<std::int32_t> PercentOf(const Attempt& attempt) {
    if (!attempt.Finished()) return std::nullopt;
    return engine::PercentRight(attempt.rightCount, attempt.questionCount);
}

std::optional<std::int32_t> GradeOf(const Attempt& attempt) {
    const auto percent = PercentOf(attempt);
    if (!percent) return std::nullopt;
    return engine::GradePoints(*percent);
}

std::string PlatoonKey(const std::string& platoon) { return Simplified(platoon); }

bool PlatoonLess::operator()(const std::string& a, const std::string& b) const {
    // A collator is not to be shared between threads.
    thread_local const QCollator collator = MakePlatoonCollator();
    const int order = collator.compare(FromUtf8(a), FromUtf8(b));
    // Texts the collator holds equal ("7" and "007") are still other platoons.
    return order != 0 ? order < 0 : a < b;
}

std::string StudentKey(const Attempt& attempt) { return StudentKey(attempt.fullName, attempt.platoon); }

std::string StudentKey(const std::string& fullName, const std::string& platoon) {
    return Simplified(fullName) + '\n' + Simplified(platoon);
}

std::optional<double> Tally::MeanGrade() const {
    if (finished == 0) return std::nullopt;
    return static_cast<double>(gradeSum) / finished;
}

std::optional<double> Tally::MeanPercent() const {
    if (finished == 0) return std::nullopt;
    return percentSum / finished;
}

Summary Summarize(const std::vector<const Attempt*>& attempts, Counting counting) {
    std::vector<const Attempt*> counted;
    if (counting == Counting::LastAttempt) {
        std::unordered_map<std::string, std::size_t> lastOf;
        for (std::size_t i = 0; i < attempts.size(); ++i) lastOf[StudentKey(*attempts[i])] = i;
        for (std::size_t i = 0; i < attempts.size(); ++i) {
            if (lastOf[StudentKey(*attempts[i])] == i) counted.push_back(attempts[i]);
        }
    } else {
        counted = attempts;
    }

    std::unordered_map<std::string, Tally> byPlatoon;
    std::unordered_map<std::string, std::set<std::string>> studentsOf;
    std::unordered_map<std::string, std::set<std::string>> finishersOf;
    Summary summary;
    std::set<std::string> everyone;
    std::set<std::string> finishers;
    for (const Attempt* attempt : counted) {
        const std::string key = PlatoonKey(attempt->platoon);
        Tally& tally = byPlatoon[key];
        if (tally.finished + tally.unfinished == 0) tally.platoon = attempt->platoon;
        Count(tally, *attempt);
        Count(summary.overall, *attempt);
        const std::string student = StudentKey(*attempt);
        studentsOf[key].insert(student);
        everyone.insert(student);
        if (attempt->Finished()) {
            finishersOf[key].insert(student);
            finishers.insert(student);
        }
    }
    // Sorted once at the end: a collation costs more than a lookup.
    std::vector<std::string> keys;
    keys.reserve(byPlatoon.size());
    for (const auto& [key, tally] : byPlatoon) keys.push_back(key);
    std::sort(keys.begin(), keys.end(), PlatoonLess{});
    for (const std::string& key : keys) {
        Tally& tally = byPlatoon[key];
        tally.students = static_cast<std::int32_t>(studentsOf[key].size());
        tally.studentsFinished = static_cast<std::int32_t>(finishersOf[key].size());
        summary.platoons.push_back(std::move(tally));
    }
    summary.overall.students = static_cast<std::int32_t>(everyone.size());
    summary.overall.studentsFinished = static_cast<std::int32_t>(finishers.size());
    return summary;
}

}  // namespace viewer
