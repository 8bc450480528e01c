#include "viewer/core/files/log_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/log/log_test_support.h"
#include "tests/support/temp_dir.h"
#include "tests/viewer/viewer_test_support.h"

namespace {

using logtest::Cp1251;
using viewer::Attempt;
using viewer::LogReader;
using viewertest::AbandonTest;
using viewertest::ExpectAttempts;
using viewertest::Expected;
using viewertest::FinishTest;

LogReader Read(const std::string& bytes) {
    LogReader reader;
    reader.Feed(bytes);
    return reader;
}

// The entries the test program writes for three students: a finished test,
// an abandoned one and a finished theme-11 test.
std::string ThreeStudentsAsTheProgramWritesThem() {
    testsupport::TemporaryWorkingDirectory dir;
    FinishTest("Иванов Иван Иванович", "101", 7, 10);
    AbandonTest("Петров Петр Петрович", "101");
    FinishTest("Сидоров Сидор Сидорович", "102", 8, 8);
    return testsupport::ReadFileBytes("Results.txt");
}

const std::vector<Expected> kThreeStudents = {
    {"Иванов Иван Иванович", "101", 7, 10, 1},
    {"Петров Петр Петрович", "101", 0, 0, 5},
    {"Сидоров Сидор Сидорович", "102", 8, 8, 7},
};

// UTF-8 of Windows-1251 bytes as glibc converts them.
std::string Utf8(const std::string& cp1251) {
    iconv_t converter = iconv_open("UTF-8", "CP1251");
    std::string in = cp1251;
    std::string out(in.size() * 3, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(converter);
    out.resize(out.size() - outLeft);
    return out;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

TEST(LogReader, ReadsWhatTheTestProgramWrites) {
    const std::string bytes = ThreeStudentsAsTheProgramWritesThem();
    ASSERT_EQ(bytes, Cp1251("Иванов Иван Иванович\r\n101\r\nПравильных ответов 7 из 10\r\n\r\n"
                            "Петров Петр Петрович\r\n101\r\n"
                            "Сидоров Сидор Сидорович\r\n102\r\nПравильных ответов 8 из 8\r\n\r\n"));
    const LogReader reader = Read(bytes);
    ExpectAttempts(reader, kThreeStudents);
    EXPECT_TRUE(reader.Remarks().empty());
}

TEST(LogReader, NamesAreKeptExactlyAsTyped) {
    testsupport::TemporaryWorkingDirectory dir;
    FinishTest(" ", " ", 3, 8);
    FinishTest("%s %d 100% %n", "  Взвод  5 ", 5, 10);
    AbandonTest("Ёлкина  Юлия ", "ВУЦ-3");
    const LogReader reader = Read(testsupport::ReadFileBytes("Results.txt"));
    ExpectAttempts(
        reader, {{" ", " ", 3, 8, 1}, {"%s %d 100% %n", "  Взвод  5 ", 5, 10, 5}, {"Ёлкина  Юлия ", "ВУЦ-3", 0, 0, 9}});
    EXPECT_TRUE(reader.Remarks().empty());
}

TEST(LogReader, EditorResavedFilesReadTheSame) {
    const std::string utf8Crlf = Utf8(ThreeStudentsAsTheProgramWritesThem());
    const std::string utf8Lf = Replace(utf8Crlf, "\r\n", "\n");
    const std::string cp1251Lf = Replace(ThreeStudentsAsTheProgramWritesThem(), "\r\n", "\n");
    for (const std::string& bytes : {utf8Crlf, "\xEF\xBB\xBF" + utf8Crlf, utf8Lf, "\xEF\xBB\xBF" + utf8Lf, cp1251Lf}) {
        const LogReader reader = Read(bytes);
        ExpectAttempts(reader, kThreeStudents);
        EXPECT_TRUE(reader.Remarks().empty());
    }
    // Re-saved as UTF-8, then appended to again by the test program.
    const LogReader mixed = Read(utf8Lf + Cp1251("Орлов Олег\r\n103\r\nПравильных ответов 9 из 10\r\n\r\n"));
    ASSERT_EQ(mixed.Attempts().size(), 4u);
    EXPECT_EQ(mixed.Attempts()[3].fullName, "Орлов Олег");
    EXPECT_EQ(mixed.Attempts()[3].rightCount, 9);
    // Blank lines an editor added between and inside entries.
    ExpectAttempts(Read(Replace(utf8Lf, "\n", "\n\n")), {{"Иванов Иван Иванович", "101", 7, 10, 1},
                                                         {"Петров Петр Петрович", "101", 0, 0, 9},
                                                         {"Сидоров Сидор Сидорович", "102", 8, 8, 13}});
}

TEST(LogReader, ATornLastLineIsReadAgainWhenItsEndArrives) {
    const std::string bytes = ThreeStudentsAsTheProgramWritesThem();
    // Every split into two pieces gives what the whole gives.
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        LogReader reader;
        reader.Feed(bytes.substr(0, cut));
        const std::size_t firstChanged = reader.Feed(bytes.substr(cut));
        ExpectAttempts(reader, kThreeStudents);
        EXPECT_TRUE(reader.Remarks().empty()) << "cut at " << cut;
        EXPECT_LE(firstChanged, reader.Attempts().size());
        if (HasFailure()) FAIL() << "cut at " << cut;
    }

    LogReader reader;
    const std::string head = Cp1251("Иванов Иван Иванович\r\n101\r\nПравильных ответов 7 из 1");
    reader.Feed(head);
    ASSERT_EQ(reader.Attempts().size(), 1u);
    EXPECT_FALSE(reader.Attempts()[0].Finished()) << "7 of 1 is impossible";
    EXPECT_EQ(reader.Remarks().size(), 1u);
    EXPECT_EQ(reader.Feed("0\r\n\r\n"), 0u) << "the first attempt changed";
    EXPECT_EQ(reader.Attempts()[0].questionCount, 10);
    EXPECT_TRUE(reader.Remarks().empty());

    // Unterminated at the end of the file, and staying so.
    ExpectAttempts(Read(Cp1251("Иванов\r\n101\r\nПравильных ответов 7 из 10")), {{"Иванов", "101", 7, 10, 1}});
    const LogReader nameOnly = Read(Cp1251("Иванов\r\n101\r\nПравильных ответов 7 из 10\r\n\r\nПетр"));
    EXPECT_EQ(nameOnly.Attempts().size(), 1u);
    ASSERT_EQ(nameOnly.Remarks().size(), 1u);
    EXPECT_EQ(nameOnly.Remarks()[0].line, 5);
}

TEST(LogReader, LinesThatFitNoEntryAreListedWithTheirNumbers) {
    const std::string bytes = Cp1251(
                                  "Правильных ответов 5 из 10\r\n"  // 1: a result without a student
                                  "Иванов\r\n101\r\nПравильных ответов 12 из 10\r\n\r\n"  // 4: impossible
                                  "Петров\r\n") +                 // 6: left without a platoon by
                              std::string("\0\0\0\x01\r\n", 6) +  // 7: binary
                              Cp1251(
                                  "Сидоров\r\n102\r\nПравильных ответов семь из 10\r\n"  // 10: unreadable
                                  "Орлов\r\n103\r\nПравильных ответов 6 из 10\r\n\r\n"
                                  "Правильных ответов 6 из 10\r\n"                     // 15: a second result
                                  "Козлов\r\nПравильных ответов 4 из 10\r\n\r\n"       // 16, 17: no platoon
                                  "Лебедев\r\n104\r\nПравильных ответов 0 из 0\r\n");  // 21: zero questions
    const LogReader reader = Read(bytes);
    ExpectAttempts(reader, {{"Иванов", "101", 0, 0, 2},
                            {"Сидоров", "102", 0, 0, 8},
                            {"Орлов", "103", 6, 10, 11},
                            {"Лебедев", "104", 0, 0, 19}});
    std::vector<std::int64_t> lines;
    for (const auto& remark : reader.Remarks()) lines.push_back(remark.line);
    EXPECT_EQ(lines, (std::vector<std::int64_t>{1, 4, 6, 7, 10, 15, 16, 17, 21}));
    EXPECT_NE(reader.Remarks()[0].text.find("Правильных ответов 5 из 10"), std::string::npos);
}

// A file with a huge line, as a wrong or damaged file gives: one short
// remark, never the line itself, whether it comes at once or in pieces.
TEST(LogReader, AHugeLineIsOneShortRemark) {
    const std::string huge(50u << 20, 'x');
    const std::string remark = "строка длиннее 4096 байт пропущена: «" + std::string(60, 'x') + "…»";

    const LogReader atOnce = Read(huge);
    EXPECT_TRUE(atOnce.Attempts().empty());
    ASSERT_EQ(atOnce.Remarks().size(), 1u);
    EXPECT_EQ(atOnce.Remarks()[0].line, 1);
    ASSERT_LT(atOnce.Remarks()[0].text.size(), 200u);
    EXPECT_EQ(atOnce.Remarks()[0].text, remark);

    LogReader inPieces;
    for (std::size_t at = 0; at < huge.size(); at += 1u << 20)
        inPieces.Feed(std::string_view(huge).substr(at, 1u << 20));
    ASSERT_EQ(inPieces.Remarks().size(), 1u);
    inPieces.Feed(Cp1251("\r\nИванов\r\n101\r\nПравильных ответов 7 из 10\r\n\r\n"));
    ExpectAttempts(inPieces, {{"Иванов", "101", 7, 10, 2}});
    ASSERT_EQ(inPieces.Remarks().size(), 1u);
    EXPECT_EQ(inPieces.Remarks()[0].line, 1);
    ASSERT_LT(inPieces.Remarks()[0].text.size(), 200u);
    EXPECT_EQ(inPieces.Remarks()[0].text, remark);

    // Its end arriving with the first byte of the next feed.
    LogReader endLater;
    endLater.Feed(std::string(5000, 'x'));
    endLater.Feed(Cp1251("\nПетров\r\n102\r\nПравильных ответов 5 из 10\r\n"));
    ExpectAttempts(endLater, {{"Петров", "102", 5, 10, 2}});
    EXPECT_EQ(endLater.Remarks().size(), 1u);
}

TEST(LogReader, ALongLineIsQuotedByItsBeginningInItsEncoding) {
    std::string utf8Ya = "\xD1\x8F";  // я
    std::string longUtf8 = "a";
    for (int i = 0; i < 3000; ++i) longUtf8 += utf8Ya;
    const LogReader reader =
        Read(Cp1251("Петров\r\n") + Cp1251(std::string(5000, 'z') + "я") + "\r\n" + longUtf8 + "\n" +
             Cp1251("Сидоров\r\n") + std::string(4000, 'b') + "\r\n" + Cp1251("Правильных ответов 7 из 10\r\n\r\n"));
    ExpectAttempts(reader, {{"Сидоров", std::string(4000, 'b'), 7, 10, 4}});
    std::string twentyNineYa;
    for (int i = 0; i < 29; ++i) twentyNineYa += utf8Ya;
    ASSERT_EQ(reader.Remarks().size(), 3u);
    EXPECT_EQ(reader.Remarks()[0].text, "ФИО без учебного взвода: «Петров»");
    EXPECT_EQ(reader.Remarks()[1].line, 2);
    EXPECT_EQ(reader.Remarks()[1].text, "строка длиннее 4096 байт пропущена: «" + std::string(60, 'z') + "…»");
    // Cut inside a letter, the beginning ends before that letter.
    EXPECT_EQ(reader.Remarks()[2].line, 3);
    EXPECT_EQ(reader.Remarks()[2].text, "строка длиннее 4096 байт пропущена: «a" + twentyNineYa + "…»");
}

// Random bytes and an English text once gave made-up students and
// thousands of remarks.
TEST(LogReader, AFileWithNoResultAndLinesNoLogHasIsNoResultsLog) {
    std::mt19937 random(20240611);
    std::string noise(5u << 20, '\0');
    for (char& c : noise) c = static_cast<char>(random() & 0xFF);
    LogReader fromNoise;
    fromNoise.Feed(std::string_view(noise).substr(0, 1u << 20));
    EXPECT_EQ(fromNoise.Feed(std::string_view(noise).substr(1u << 20)), 0u);
    EXPECT_TRUE(fromNoise.Attempts().empty());
    EXPECT_EQ(
        fromNoise.NotResultsReason().rfind("в нём нет ни одной строки результата, зато есть строки, каких в файле "
                                           "результатов не бывает (с непечатаемыми символами или длиннее ФИО и "
                                           "учебного взвода): ",
                                           0),
        0u);

    std::string licence;
    for (int i = 0; i < 20; ++i) {
        licence +=
            "Permission is hereby granted, free of charge, to any person obtaining\n"
            "a copy of this software and associated documentation files, to deal\n"
            "in the Software without restriction, including without limitation\n"
            "the rights to use, copy, modify, merge, publish, distribute, sublicense.\n"
            "\n";
    }
    const LogReader fromLicence = Read(licence);
    EXPECT_TRUE(fromLicence.Attempts().empty());
    EXPECT_EQ(fromLicence.NotResultsReason(),
              "в нём нет ни одной строки результата, зато есть строки, каких в файле результатов не бывает "
              "(с непечатаемыми символами или длиннее ФИО и учебного взвода): 40");
    EXPECT_EQ(LogReader::NotResultsMessage("LICENSE", "причина"),
              "Файл «LICENSE» не похож на файл результатов: причина");
}

TEST(LogReader, ALogWithoutResultsYetOrWithDamageIsStillALog) {
    // Students who all left before the end.
    const LogReader abandoned = Read(Cp1251("Иванов\r\n101\r\nПетров\r\n102\r\n"));
    EXPECT_EQ(abandoned.NotResultsReason(), "");
    EXPECT_EQ(abandoned.Attempts().size(), 2u);
    // A damaged line among results.
    const LogReader damaged = Read(Cp1251("\x01\x02\r\nИванов\r\n101\r\nПравильных ответов 7 из 10\r\n\r\n"));
    EXPECT_EQ(damaged.NotResultsReason(), "");
    ExpectAttempts(damaged, {{"Иванов", "101", 7, 10, 2}});

    // A platoon longer than the test program now allows, written before it
    // did: no log until its result arrives, then its attempt shows.
    LogReader growing;
    growing.Feed(Cp1251("Иванов\r\nВзвод номер сто один, второй курс\r\n"));
    EXPECT_NE(growing.NotResultsReason(), "");
    EXPECT_TRUE(growing.Attempts().empty());
    EXPECT_EQ(growing.Feed(Cp1251("Правильных ответов 7 из 10\r\n\r\n")), 0u);
    ExpectAttempts(growing, {{"Иванов", "Взвод номер сто один, второй курс", 7, 10, 1}});
}

TEST(LogReader, EmptyInputGivesNothing) {
    LogReader reader;
    EXPECT_EQ(reader.Feed(""), 0u);
    EXPECT_TRUE(reader.Attempts().empty());
    EXPECT_TRUE(reader.Remarks().empty());
    ExpectAttempts(Read("\r\n\r\n\n"), {});
    EXPECT_TRUE(Read("\xEF\xBB\xBF").Remarks().empty());
}

}  // namespace
