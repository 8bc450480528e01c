#include "tests/support/answers_check.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <regex>
#include <sstream>

#include "tests/support/temp_dir.h"

namespace answerscheck {

namespace {

constexpr const char* kPath = "Results.answers.csv";

// The tests' names hold no comma or quote, so a line splits at its commas.
std::vector<std::vector<std::string>> Lines() {
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(testsupport::ReadFileBytes(kPath));
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        std::istringstream fieldsIn(line);
        for (std::string field; std::getline(fieldsIn, field, ',');) fields.push_back(field);
        if (line.ends_with(',')) fields.emplace_back();
        lines.push_back(fields);
    }
    return lines;
}

std::string HostName() {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

}  // namespace

void ExpectOneAttempt(const std::string& fullName, const std::string& platoon, int theme, const std::string& ending,
                      int right, int asked, const std::vector<Question>& questions) {
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 2u) << testsupport::ReadFileBytes(kPath);
    const auto& start = lines[0];
    const auto& end = lines[1];
    ASSERT_EQ(start.size(), 10u);
    ASSERT_EQ(end.size(), 13 + 4 * questions.size());
    const std::regex time(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d)");
    const std::regex bank("[0-9a-f]{8}");
    const std::regex attempt("[0-9a-f]{16}");
    for (const auto* line : {&start, &end}) {
        const auto& fields = *line;
        EXPECT_EQ(fields[0], "kalvena-answers-1");
        EXPECT_TRUE(std::regex_match(fields[2], time)) << fields[2];
        EXPECT_EQ(fields[3], HostName());
        EXPECT_EQ(fields[4], "1.0");
        EXPECT_TRUE(std::regex_match(fields[5], bank)) << fields[5];
        EXPECT_TRUE(std::regex_match(fields[6], attempt)) << fields[6];
        EXPECT_EQ(fields[7], fullName);
        EXPECT_EQ(fields[8], platoon);
        EXPECT_EQ(fields[9], std::to_string(theme));
    }
    EXPECT_EQ(start[1], "start");
    EXPECT_EQ(end[1], "end");
    EXPECT_EQ(end[5], start[5]);
    EXPECT_EQ(end[6], start[6]) << "one attempt, one id";
    EXPECT_EQ(end[10], ending);
    EXPECT_EQ(end[11], std::to_string(right));
    EXPECT_EQ(end[12], std::to_string(asked));
    for (std::size_t i = 0; i < questions.size(); ++i) {
        const std::size_t at = 13 + 4 * i;
        SCOPED_TRACE("question " + std::to_string(i + 1));
        EXPECT_EQ(end[at], questions[i].name);
        EXPECT_EQ(end[at + 1], questions[i].chosen);
        EXPECT_EQ(end[at + 2], questions[i].correct);
        EXPECT_TRUE(std::regex_match(end[at + 3], std::regex("[0-9]+"))) << end[at + 3];
    }
}

void ExpectThemeElevenAttempt(const std::string& ending, const std::vector<std::string>& chosen) {
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 2u) << testsupport::ReadFileBytes(kPath);
    EXPECT_EQ(lines[0][1], "start");
    const auto& end = lines[1];
    ASSERT_EQ(end.size(), 13 + 4 * chosen.size()) << testsupport::ReadFileBytes(kPath);
    EXPECT_EQ(end[1], "end");
    EXPECT_EQ(end[9], "11");
    EXPECT_EQ(end[10], ending);
    EXPECT_EQ(end[12], "8");
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        EXPECT_TRUE(std::regex_match(end[13 + 4 * i], std::regex("Tq11[0-9]{2}"))) << end[13 + 4 * i];
        EXPECT_EQ(end[14 + 4 * i], chosen[i]);
    }
}

void ExpectNoAttempt() { EXPECT_EQ(testsupport::ReadFileBytes(kPath), ""); }

}  // namespace answerscheck
