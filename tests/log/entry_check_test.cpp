// What the protected-results helper lets through: exactly the entries the
// test program writes, and nothing that could forge or tear another's.
#include "log/append/entry_check.h"

#include <gtest/gtest.h>

#include "log/csv_line.h"
#include "tests/support/cp1251_oracle.h"

namespace {

using appendhelper::CheckAnswersLine;
using appendhelper::CheckLogEntry;
using testsupport::Cp1251;

const std::string kHeader = Cp1251("Иванов Иван Иванович\r\n101\r\n");
const std::string kResult = Cp1251("Правильных ответов 7 из 10\r\n\r\n");

TEST(EntryCheck, TheProgramsLogEntriesPass) {
    EXPECT_EQ(CheckLogEntry(kHeader), "");
    EXPECT_EQ(CheckLogEntry(kResult), "");
    EXPECT_EQ(CheckLogEntry(kHeader + kResult), "");
    EXPECT_EQ(CheckLogEntry(Cp1251("Правильных ответов 8 из 8\r\n\r\n")), "");
}

TEST(EntryCheck, AnythingElseForTheLogIsRefused) {
    for (const std::string& bytes : {
             std::string(), kHeader.substr(0, kHeader.size() - 1),  // torn: a kill mid-way
             kHeader + kHeader,                                     // two entries
             kResult + kHeader,                                     // result first
             Cp1251("Иванов\n101\n"),                               // not CR LF
             Cp1251("Иванов\r\n\r\n"),                              // empty platoon
             Cp1251("Иванов\x01\r\n101\r\n"),                       // control character
             Cp1251(std::string(101, 'A') + "\r\n101\r\n"),         // name over 100
             Cp1251("Иванов\r\n" + std::string(21, '1') + "\r\n"),  // platoon over 20
             Cp1251("Правильных ответов 11 из 10\r\n\r\n"),         // more right than asked
             Cp1251("Правильных ответов 5 из 9\r\n\r\n"),           // no test asks 9
             Cp1251("Правильных  ответов 5 из 10\r\n\r\n"),         // not as the program writes
             Cp1251("Правильных ответов 5 из 10\r\nx\r\n"),         // no empty line after
             Cp1251("Правильных ответов 9 из 10\r\n101\r\n"),       // a forged result as a name
         }) {
        EXPECT_NE(CheckLogEntry(bytes), "") << testing::PrintToString(bytes);
    }
}

const std::string kStart =
    "kalvena-answers-1,start,2026-12-08T09:15:02+03:00,pc12,1.0,3fa85f64,9c1e4b7a2d3f6e80,"
    "\"Иванов, \"\"Иван\"\"\",ВЗ-21,11\n";
const std::string kEnd =
    "kalvena-answers-1,end,2026-12-08T09:19:40+03:00,pc12,1.0,3fa85f64,9c1e4b7a2d3f6e80,Иванов,ВЗ-21,11,"
    "stopped,1,8,Tq1101,1,1,21,Tq1105,,0,40\n";

TEST(EntryCheck, TheProgramsAnswerLinesPassAndGetTheAccount) {
    EXPECT_EQ(CheckAnswersLine(kStart), "");
    EXPECT_EQ(CheckAnswersLine(kEnd), "");
    EXPECT_EQ(appendhelper::WithAccount(kEnd, "st,1"), kEnd.substr(0, kEnd.size() - 1) + ",\"st,1\"\n");
}

TEST(EntryCheck, MalformedAnswerLinesAreRefused) {
    const auto replaced = [](std::string line, std::string_view from, std::string_view to) {
        return line.replace(line.find(from), from.size(), to);
    };
    for (const std::string& line : {
             kStart.substr(0, kStart.size() - 1),                       // torn
             kStart + kStart,                                           // two lines
             replaced(kStart, "answers-1", "answers-2"),                // a format this helper does not know
             replaced(kStart, ",11\n", ",11,alice\n"),                  // an account of the caller's choosing
             replaced(kStart, ",11\n", ",14\n"),                        // no such theme
             replaced(kStart, "+03:00", "Z"),                           // no UTC offset
             replaced(kStart, "3fa85f64", "3FA85F64"),                  // fingerprint
             replaced(kEnd, "Tq1105", "Tq105"),                         // a question of another theme
             replaced(kEnd, ",,0,40", ",5,0,40"),                       // position 5
             replaced(kEnd, "stopped,1,8", "stopped,9,8"),              // more right than asked
             replaced(kEnd, "stopped,1,8", "stopped,1,10"),             // theme 11 asks 8
             replaced(kEnd, ",0,40\n", ",0\n"),                         // a question cut short
             replaced(kEnd, "stopped", "gave-up"),                      // no such ending
             replaced(kStart, "pc12", "pc\x01"),                        // control character
             replaced(kStart, "\"Иванов, \"\"Иван\"\"\"", "\"Иванов"),  // open quote
         }) {
        EXPECT_NE(CheckAnswersLine(line), "") << line;
    }
}

TEST(CsvLine, QuotedFieldsSplitBackAsTheyWere) {
    const std::string line =
        resultslog::CsvField("a,b") + "," + resultslog::CsvField("say \"hi\"") + ",," + resultslog::CsvField("plain");
    EXPECT_EQ(line, "\"a,b\",\"say \"\"hi\"\"\",,plain");
    std::vector<std::string_view> fields;
    std::string scratch;
    ASSERT_TRUE(resultslog::SplitCsvLine(line, fields, scratch));
    EXPECT_EQ(fields, (std::vector<std::string_view>{"a,b", "say \"hi\"", "", "plain"}));
    EXPECT_FALSE(resultslog::SplitCsvLine("a\"b,c", fields, scratch));
    EXPECT_FALSE(resultslog::SplitCsvLine("\"a\"b", fields, scratch));
}

}  // namespace
