#include "viewer/core/summary.h"

#include <algorithm>
#include <map>
#include <string_view>
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

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void Count(Tally& tally, const Attempt& attempt) {
    if (!attempt.Finished()) {
        ++tally.unfinished;
        return;
    }
    ++tally.finished;
    const std::int32_t grade = *GradeOf(attempt);
    ++tally.gradeCounts[static_cast<std::size_t>(grade)];
    tally.gradeSum += grade;
    tally.percentSum += *PercentOf(attempt);
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

bool NaturalLess::operator()(const std::string& a, const std::string& b) const {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            std::size_t endA = i;
            std::size_t endB = j;
            while (endA < a.size() && IsDigit(a[endA])) ++endA;
            while (endB < b.size() && IsDigit(b[endB])) ++endB;
            const auto trimA = a.find_first_not_of('0', i);
            const auto trimB = b.find_first_not_of('0', j);
            const std::string_view numberA(a.data() + std::min(trimA, endA), endA - std::min(trimA, endA));
            const std::string_view numberB(b.data() + std::min(trimB, endB), endB - std::min(trimB, endB));
            if (numberA.size() != numberB.size()) return numberA.size() < numberB.size();
            if (numberA != numberB) return numberA < numberB;
            i = endA;
            j = endB;
        } else {
            if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
            ++i;
            ++j;
        }
    }
    if (a.size() - i != b.size() - j) return a.size() - i < b.size() - j;
    return a < b;
}


std::string StudentKey(const Attempt& attempt) {
    return Simplified(attempt.fullName) + '\n' + Simplified(attempt.platoon);
}

std::optional<double> Tally::MeanGrade() const {
    if (finished == 0) return std::nullopt;
    return static_cast<double>(gradeSum) / finished;
}

std::optional<double> Tally::MeanPercent() const {
    if (finished == 0) return std::nullopt;
    return static_cast<double>(percentSum) / finished;
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

    std::map<std::string, Tally, NaturalLess> byPlatoon;
    std::map<std::string, std::set<std::string>> studentsOf;
    Summary summary;
    std::set<std::string> everyone;
    for (const Attempt* attempt : counted) {
        const std::string key = PlatoonKey(attempt->platoon);
        Tally& tally = byPlatoon[key];
        if (tally.finished + tally.unfinished == 0) tally.platoon = attempt->platoon;
        Count(tally, *attempt);
        Count(summary.overall, *attempt);
        const std::string student = StudentKey(*attempt);
        studentsOf[key].insert(student);
        everyone.insert(student);
    }
    for (auto& [key, tally] : byPlatoon) {
        tally.students = static_cast<std::int32_t>(studentsOf[key].size());
        summary.platoons.push_back(std::move(tally));
    }
    summary.overall.students = static_cast<std::int32_t>(everyone.size());
    return summary;
}

}  // namespace viewer
