#include "viewer/core/files/answers_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/viewer/answers_lines.h"
#include "viewer/core/analysis/item_analysis.h"
#include "viewer/core/files/named_files.h"

namespace {

using answerstest::EndLine;
using viewer::AnswersReader;

const std::string kStart =
    "kalvena-answers-1,start,2026-12-08T09:15:02+03:00,pc12,1.0,3fa85f64,9c1e4b7a2d3f6e80,Иванов Иван,ВЗ-21,3\n";
const std::string kEnd = EndLine("Иванов Иван", "2026-12-08T09:19:40+03:00",
                                 {{"Tq31", 2, true, 21}, {"Tq34", 3, false, 40}, {"Tq37", 0, false, 5}});

std::vector<std::string> RemarkTexts(const AnswersReader& reader) {
    std::vector<std::string> texts;
    for (const auto& remark : reader.Remarks()) texts.push_back(std::to_string(remark.line) + ": " + remark.text);
    return texts;
}

TEST(AnswersReader, ReadsAStartAndAnEndLineWithItsAnswersAndQuotedName) {
    AnswersReader reader;
    reader.Feed(kStart + EndLine("\"Петров, \"\"Петя\"\"\"", "2026-12-08T09:19:40+03:00",
                                 {{"Tq31", 2, true, 21}, {"Tq34", 0, false, 40}}, "stopped", "00ff00aa", 13));
    ASSERT_EQ(reader.Starts().size(), 1u);
    const auto& start = reader.Starts()[0];
    EXPECT_EQ(start.line, 1);
    EXPECT_EQ(start.id, 0x9c1e4b7a2d3f6e80u);
    EXPECT_EQ(start.fullName, "Иванов Иван");
    EXPECT_EQ(start.platoon, "ВЗ-21");
    EXPECT_EQ(start.theme, 3);
    EXPECT_EQ(start.time, 1796710502);  // 06:15:02 UTC
    ASSERT_EQ(reader.Ends().size(), 1u);
    const auto& end = reader.Ends()[0];
    EXPECT_EQ(end.line, 2);
    EXPECT_EQ(end.id, 0x9c1e4b7a2d3f6e80u);
    EXPECT_EQ(end.fullName, "Петров, \"Петя\"");
    EXPECT_EQ(end.platoon, "ВЗ-21");
    EXPECT_EQ(end.bank, 0x00ff00aau);
    EXPECT_EQ(end.theme, 13);
    EXPECT_EQ(end.ending, viewer::Ending::Stopped);
    EXPECT_EQ(end.time, 1796710780);  // 06:19:40 UTC
    ASSERT_EQ(end.answers.size(), 2u);
    EXPECT_EQ(reader.QuestionNames()[static_cast<std::size_t>(end.answers[1].question)], "Tq34");
    EXPECT_EQ(end.answers[0].chosen, 2);
    EXPECT_TRUE(end.answers[0].correct);
    EXPECT_EQ(end.answers[1].chosen, 0);
    EXPECT_EQ(end.answers[1].seconds, 40);
    EXPECT_TRUE(reader.Remarks().empty());
}

// Every bad line is passed over with its number; the good ones around it
// are still read.
TEST(AnswersReader, SkipsBadLinesAndReportsThemByNumber) {
    std::string edited = kEnd;
    edited.replace(edited.find(",21,"), 4, ",2l,");
    std::string fewer = kEnd;
    fewer.erase(fewer.rfind(",Tq37"), 10);  // a finished test that lists 2 of its 3 questions
    std::string cut = kEnd;
    cut.erase(cut.rfind(','), 2);
    AnswersReader reader;
    reader.Feed(kEnd + edited + fewer + cut + "kalvena-answers-3,end,2026-12-08T09:19:40+03:00,новое поле\n" +
                "kalvena-answers-3,start\n" + "Правильных ответов 7 из 10\n" + "\"kalvena-answers-1,end\n" + kEnd +
                kEnd.substr(0, 60));
    EXPECT_EQ(reader.Ends().size(), 2u);
    EXPECT_EQ(reader.Ends()[1].line, 9);
    EXPECT_EQ(RemarkTexts(reader),
              (std::vector<std::string>{
                  "2: строка конца теста пропущена: неверные поля вопроса 1",
                  "3: строка конца теста пропущена: вопросов 2 при 3 задаваемых",
                  "4: строка конца теста пропущена: неверное число полей: 24",
                  "5: строки другой версии записи ответов пропускаются (их записала более новая программа): "
                  "«kalvena-answers-3»",
                  "7: строка не из записи ответов пропущена: «Правильных ответов 7 из 10»",
                  "8: строка не из записи ответов пропущена: «\"kalvena-answers-1,end»",
                  "10: последняя строка не закончена (обрыв записи или запись ещё идёт): "
                  "«kalvena-answers-1,end,2026-12-08T09:19:40+03:00,pc12,1.0,3fa»",
              }));
}

// The torn line is read once the rest of it arrives; one that grows past
// the bound is reported once and never held whole.
TEST(AnswersReader, JoinsALineFedInPiecesAndBoundsALongOne) {
    AnswersReader reader;
    reader.Feed(kEnd.substr(0, 30));
    reader.Feed(kEnd.substr(30));
    EXPECT_EQ(reader.Ends().size(), 1u);
    EXPECT_TRUE(reader.Remarks().empty());

    const std::string chunk(1000, 'x');
    reader.Feed("kalvena-answers-1,end,");
    for (int i = 0; i < 1000; ++i) reader.Feed(chunk);
    reader.Feed("\n" + kEnd);
    EXPECT_EQ(reader.Ends().size(), 2u);
    ASSERT_EQ(reader.Remarks().size(), 1u);
    EXPECT_EQ(reader.Remarks()[0].line, 2);
    EXPECT_TRUE(reader.Remarks()[0].text.starts_with("строка длиннее 4096 байт пропущена: «kalvena-answers-1,end,xxx"));
}

// Lines cut, doubled and overwritten at random, fed in random pieces: what
// is read keeps the format's bounds, the rest is remarked.
TEST(AnswersReader, KeepsItsBoundsOnMangledLines) {
    std::mt19937 random(42);
    std::string bytes;
    for (int i = 0; i < 400; ++i) {
        std::string line = i % 2 == 0 ? kStart : kEnd;
        for (int cut = static_cast<int>(random() % 4); cut > 0; --cut) {
            const std::size_t at = random() % line.size();
            switch (random() % 4) {
                case 0: line.erase(at, random() % 12); break;
                case 1: line.insert(at, line.substr(at, random() % 12)); break;
                case 2: line.insert(at, std::string(1 + random() % 24, 'q')); break;
                default: line[at] = ",\"\n\r\x00\xD0\x91x9-"[random() % 10]; break;
            }
        }
        bytes += line;
    }
    AnswersReader reader;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t piece = 1 + random() % 300;
        reader.Feed(std::string_view(bytes).substr(at, piece));
        at += piece;
    }
    EXPECT_GT(reader.Ends().size(), 50u);
    EXPECT_GT(reader.Remarks().size(), 50u);
    for (const auto& end : reader.Ends()) {
        EXPECT_TRUE(end.theme >= 1 && end.theme <= 13);
        EXPECT_LE(end.answers.size(), static_cast<std::size_t>(end.asked));
        EXPECT_LE(end.right, end.asked);
        for (const auto& answer : end.answers) EXPECT_LE(answer.chosen, 4);
    }
    const auto analysis = viewer::AnalyzeItems({&reader}, viewer::Scoring::AllAttempts, {});
    EXPECT_FALSE(analysis.themes.empty());
}

// Named as the test program names it: the log's extension replaced.
TEST(AnswersReader, FindsTheRecordBesideTheLog) {
    const struct {
        const char* log;
        const char* record;
    } cases[] = {{"/srv/kalvena/pc12/Results.txt", "/srv/kalvena/pc12/Results.answers.csv"},
                 {"/srv/pc12/Results.answers.csv", "/srv/pc12/Results.answers.csv"},
                 {"class.d/x.log", "class.d/x.answers.csv"},
                 {"Results", "Results.answers.csv"}};
    for (const auto& named : cases) {
        EXPECT_EQ(viewer::AnswersPathFor(named.log), named.record) << named.log;
        EXPECT_TRUE(viewer::IsAnswersRecord(viewer::AnswersPathFor(named.log))) << named.log;
    }
    EXPECT_EQ(viewer::LogPathFor("/srv/pc12/Results.answers.csv"), "/srv/pc12/Results.txt");
    EXPECT_FALSE(viewer::IsAnswersRecord("/srv/pc12.answers.csv/Results.txt"));
}

}  // namespace

namespace {

// The collecting service's lines: the account in column 11, before the ending.
std::string ServiceLine(const std::string& line, const std::string& account) {
    std::string out = "kalvena-answers-2" + line.substr(std::string("kalvena-answers-1").size());
    std::size_t comma = 0;
    for (int n = 0; n < 10 && comma != std::string::npos; ++n) comma = out.find(',', comma + 1);
    out.insert(comma == std::string::npos ? out.size() - 1 : comma, "," + account);
    return out;
}

std::string WithoutLastField(const std::string& line) { return line.substr(0, line.rfind(',')) + "\n"; }

TEST(AnswersReader, ReadsTheServicesLinesWithTheirAccountsBesideThePlainOnes) {
    const std::string abandoned = EndLine("Иванов Иван", "2026-12-08T09:40:00+03:00",
                                          {{"Tq31", 2, true, 21}, {"Tq34", 0, false, 600}}, "abandoned");
    struct Case {
        const char* what;
        std::string line;
        std::string account;  // of the one start or end read
        bool end;
        const char* remark;  // the remark instead, when skipped
    };
    const std::vector<Case> cases = {
        {"a plain start", kStart, "", false, nullptr},
        {"a plain end", kEnd, "", true, nullptr},
        {"a service start", ServiceLine(kStart, "s.ivanov"), "s.ivanov", false, nullptr},
        {"a service end", ServiceLine(kEnd, "s.ivanov"), "s.ivanov", true, nullptr},
        {"an abandoned attempt", ServiceLine(abandoned, "s.ivanov"), "s.ivanov", true, nullptr},
        {"the older helper's account, last", kStart.substr(0, kStart.size() - 1) + ",s.petrov\n", "s.petrov", false,
         nullptr},
        {"the older helper's end", kEnd.substr(0, kEnd.size() - 1) + ",s.petrov\n", "s.petrov", true, nullptr},
        {"a service start without its account", WithoutLastField(ServiceLine(kStart, "s.ivanov")), "", false,
         "строка без учетной записи или с неверной учетной записью пропущена"},
        {"an empty account", ServiceLine(kEnd, ""), "", true,
         "строка без учетной записи или с неверной учетной записью пропущена"},
        {"an account with a space", ServiceLine(kEnd, "\"s ivanov\""), "", true,
         "строка без учетной записи или с неверной учетной записью пропущена"},
        {"a service end one field short", WithoutLastField(ServiceLine(kEnd, "s.ivanov")), "", true,
         "строка конца теста пропущена: неверное число полей"},
        {"an unknown ending", ServiceLine(EndLine("Иванов Иван", "2026-12-08T09:40:00+03:00", {}, "vanished"), "x"), "",
         true, "строка конца теста пропущена: неизвестный исход теста «vanished»"},
        {"a later version", "kalvena-answers-3,end,2026-12-08T09:19:40+03:00\n", "", true,
         "строки другой версии записи ответов пропускаются"},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.what);
        AnswersReader reader;
        reader.Feed(each.line);
        if (each.remark != nullptr) {
            EXPECT_TRUE(reader.Starts().empty() && reader.Ends().empty());
            ASSERT_EQ(reader.Remarks().size(), 1u);
            EXPECT_TRUE(reader.Remarks()[0].text.starts_with(each.remark)) << reader.Remarks()[0].text;
            continue;
        }
        EXPECT_TRUE(reader.Remarks().empty()) << RemarkTexts(reader).front();
        ASSERT_EQ(reader.Ends().size(), each.end ? 1u : 0u);
        ASSERT_EQ(reader.Starts().size(), each.end ? 0u : 1u);
        EXPECT_EQ(each.end ? reader.Ends()[0].account : reader.Starts()[0].account, each.account);
        if (each.end) {
            EXPECT_EQ(reader.Ends()[0].fullName, "Иванов Иван");
        }
    }
    AnswersReader reader;
    reader.Feed(ServiceLine(abandoned, "s.ivanov"));
    ASSERT_EQ(reader.Ends().size(), 1u);
    EXPECT_EQ(reader.Ends()[0].ending, viewer::Ending::Abandoned);
    EXPECT_EQ(reader.Ends()[0].answers.size(), 2u);
    EXPECT_EQ(reader.Ends()[0].answers[1].seconds, 600);
}

}  // namespace
