#include "viewer/core/analysis/record_ties.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/viewer/answers_lines.h"
#include "viewer/core/analysis/live_attempts.h"

namespace {

using viewer::AnswersReader;
using viewer::Attempt;

// A service record: the account in column 11.
std::string End(const std::string& name, const std::string& account, int right, int asked = 2,
                const std::string& ending = "finished") {
    std::string line = "kalvena-answers-2,end,2026-12-08T09:19:40+03:00,pc12,1.0,3fa85f64,9c1e4b7a2d3f6e80," + name +
                       ",101,3," + account + "," + ending + "," + std::to_string(right) + "," + std::to_string(asked);
    for (int q = 0; q < asked && ending == "finished"; ++q) {
        line += ",Tq3" + std::to_string(q) + "," + (q < right ? "1,1" : "2,0") + ",10";
    }
    return line + "\n";
}

std::string Start(const std::string& name, const std::string& account) {
    return "kalvena-answers-2,start,2026-12-08T09:15:02+03:00,pc12,1.0,3fa85f64,9c1e4b7a2d3f6e80," + name + ",101,3," +
           account + "\n";
}

Attempt Result(const std::string& name, int right, int asked = 2, std::int64_t line = 1) {
    return {name, "101", right, asked, line};
}

Attempt Registration(const std::string& name, std::int64_t line = 1) { return {name, "101", 0, 0, line}; }

TEST(RecordTies, EachResultIsTiedToItsAttemptOrFlagged) {
    struct Case {
        const char* what;
        std::vector<Attempt> log;
        std::string record;
        bool recordsKept;
        std::vector<std::string> accounts;
        std::vector<std::string> problems;  // beginnings; empty: ties
    };
    const std::string noEnd = "результат без попытки: в записи ответов нет конца законченного теста";
    const std::vector<Case> cases = {
        {"a result with its attempt", {Result("Орлов", 2)}, End("Орлов", "s.orlov", 2), true, {"s.orlov"}, {""}},
        {"a result with none, the record kept", {Result("Орлов", 2)}, Start("Орлов", "s.orlov"), true, {""}, {noEnd}},
        {"the logs keep no records: nothing asked", {Result("Орлов", 2)}, "", false, {""}, {""}},
        {"other counts than the answers",
         {Result("Орлов", 2)},
         End("Орлов", "s.orlov", 1),
         true,
         {"s.orlov"},
         {"правильных ответов 2 из 2, а по ответам в записи ответов (строка 1) 1 из 2"}},
        {"a forged result before the real one",
         {Result("Орлов", 2, 2, 1), Result("Орлов", 1, 2, 5)},
         End("Орлов", "s.orlov", 1),
         true,
         {"", "s.orlov"},
         {noEnd, ""}},
        {"an attempt stopped or abandoned leaves no result",
         {Result("Орлов", 0, 2)},
         End("Орлов", "s.orlov", 0, 2, "abandoned"),
         true,
         {""},
         {noEnd}},
        {"another's name and platoon is no tie",
         {Result("Орлова", 2)},
         End("Орлов", "s.orlov", 2),
         true,
         {""},
         {noEnd}},
        {"a registration takes the account of its start",
         {Registration("Орлов"), Result("Орлов", 2), Registration("Орлов")},
         Start("Орлов", "s.orlov") + Start("Орлов", "s.orlov") + End("Орлов", "s.orlov", 2) + Start("Орлов", "x.y"),
         true,
         {"s.orlov", "s.orlov", "x.y"},
         {"", "", ""}},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.what);
        AnswersReader record;
        record.Feed(each.record);
        ASSERT_TRUE(record.Remarks().empty()) << record.Remarks()[0].text;
        const viewer::LogTies ties = viewer::TieLogToRecord(each.log, record, each.recordsKept);
        ASSERT_EQ(ties.attempts.size(), each.log.size());
        std::size_t flagged = 0;
        for (std::size_t a = 0; a < each.log.size(); ++a) {
            EXPECT_EQ(ties.attempts[a].account, each.accounts[a]) << a;
            EXPECT_TRUE(ties.attempts[a].problem.starts_with(each.problems[a])) << ties.attempts[a].problem;
            EXPECT_EQ(ties.attempts[a].problem.empty(), each.problems[a].empty()) << a;
            if (!each.problems[a].empty()) {
                ASSERT_LT(flagged, ties.remarks.size());
                EXPECT_EQ(ties.remarks[flagged].line, each.log[a].line);
                ++flagged;
            }
        }
        EXPECT_EQ(ties.remarks.size(), flagged);
    }
}

TEST(RecordTies, ANameWrittenBySeveralAccountsIsFoundAcrossRecordsAndFlagged) {
    AnswersReader first, second;
    first.Feed(Start("Орлов Олег", "s.orlov") + End("Орлов Олег", "s.orlov", 2) + Start("Соколов", "s.sokolov"));
    second.Feed(Start("Волков", "s.volkov") + Start("Орлов  Олег ", "s.sokolov") + End("Волков", "s.volkov", 1));
    const auto shared = viewer::NamesOfSeveralAccounts({&first, &second});
    ASSERT_EQ(shared.size(), 1u);
    EXPECT_EQ(shared[0].accounts, (std::vector<std::string>{"s.orlov", "s.sokolov"}));
    EXPECT_EQ(shared[0].record, 1u);
    EXPECT_EQ(shared[0].line, 2);
    EXPECT_EQ(shared[0].Text(), "ФИО «Орлов Олег» записано разными учетными записями: s.orlov, s.sokolov");

    const std::vector<Attempt> log = {Result("Орлов Олег", 2), Result("Волков", 1)};
    viewer::LogTies ties = viewer::TieLogToRecord(log, first, true);
    viewer::FlagSharedNames(shared, log, ties);
    EXPECT_EQ(ties.attempts[0].problem, shared[0].Text());
    EXPECT_TRUE(ties.attempts[1].problem.starts_with("результат без попытки")) << ties.attempts[1].problem;

    // Plain records name no account: nothing to compare.
    AnswersReader plain;
    plain.Feed(answerstest::EndLine("Орлов Олег", "2026-12-08T09:19:40+03:00", {{"Tq31", 2, true, 21}}));
    EXPECT_TRUE(viewer::NamesOfSeveralAccounts({&first, &plain}).empty());
}

// A record read afresh (replaced, or cut and written again) re-marks every
// row it paired before, not only those it pairs now: a row whose start is
// gone must stop showing a running test.
TEST(LiveTies, ARecordReadAfreshReMarksTheRowsItPairedBefore) {
    const std::vector<Attempt> log = {Registration("Орлов", 1), Registration("Белова", 3)};
    viewer::LiveAttempts live;
    live.UpdateLog(log, 0);
    AnswersReader first;
    first.Feed(Start("Орлов", "s.orlov") + Start("Белова", "s.belova"));
    EXPECT_EQ(live.UpdateRecord(first, false), (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(live.StateOf(0).kind, viewer::LiveKind::Running);

    AnswersReader again;
    again.Feed(Start("Белова", "s.belova"));
    const std::vector<std::size_t> remarked = live.UpdateRecord(again, true);
    EXPECT_NE(std::find(remarked.begin(), remarked.end(), 0u), remarked.end()) << "Орлов's row keeps its old mark";
    EXPECT_NE(std::find(remarked.begin(), remarked.end(), 1u), remarked.end());
    EXPECT_EQ(live.StateOf(0).kind, viewer::LiveKind::Unknown);
    EXPECT_EQ(live.StateOf(1).kind, viewer::LiveKind::Running);
}

}  // namespace
