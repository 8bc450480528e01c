// A department's records pooled: by question across computers, each file
// once however it is reached, and only the tests the selection takes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "tests/viewer/answers_lines.h"
#include "viewer/core/analysis/item_analysis.h"
#include "viewer/core/analysis/item_table.h"
#include "viewer/core/analysis/summary.h"
#include "viewer/core/files/folder_walk.h"
#include "viewer/core/files/named_files.h"

namespace {

using answerstest::EndLine;
using answerstest::Shown;
using viewer::AnswersReader;
using viewer::Scoring;

// The scores of SmallMatrixByHand (item_analysis_test.cpp), its ten
// attempts split over two computers; the second computer's record lists
// the questions in another order, so its own numbering of them differs.
//         Tq11 Tq12 Tq13
//    1     1    1    1
//    2     1    1    0
//    3     1    0    1
//    4     0    1    0
//    5     0    0    0
TEST(ItemPooling, TwoComputersPoolByQuestion) {
    const int scores[5][3] = {{1, 1, 1}, {1, 1, 0}, {1, 0, 1}, {0, 1, 0}, {0, 0, 0}};
    std::string pc01, pc02;
    for (int copy = 0; copy < 2; ++copy) {
        for (int s = 0; s < 5; ++s) {
            std::vector<Shown> shown;
            for (const int q : {2, 0, 1}) {
                const bool right = scores[s][q] == 1;
                shown.push_back({"Tq1" + std::to_string(q + 1), right ? 1 : 2, right, 20});
            }
            const std::string name = "Студент " + std::to_string(copy * 5 + s);
            if (copy == 0 && s < 3) {
                std::rotate(shown.begin(), shown.begin() + 1, shown.end());  // Tq11 Tq12 Tq13
                pc01 += EndLine(name, "2026-12-08T09:00:00+03:00", shown, "finished", "3fa85f64", 1);
            } else {
                pc02 += EndLine(name, "2026-12-08T10:00:00+03:00", shown, "finished", "3fa85f64", 1);
            }
        }
    }
    AnswersReader first, second, copied;
    first.Feed(pc01);
    second.Feed(pc02);
    // The first computer's record copied into a third folder adds nothing.
    copied.Feed(pc01);
    const auto analysis = viewer::AnalyzeItems({&first, &second, &copied}, Scoring::AllAttempts, {});
    EXPECT_EQ(analysis.finished, 10);
    ASSERT_EQ(analysis.themes.size(), 1u);
    const auto& theme = analysis.themes[0];
    EXPECT_EQ(theme.attempts, 10);
    ASSERT_EQ(theme.questions.size(), 3u);
    ASSERT_EQ(theme.forms.size(), 1u);
    EXPECT_EQ(theme.forms[0].attempts, 10);
    EXPECT_EQ(theme.forms[0].scoreCounts, (std::vector<std::int32_t>{2, 2, 4, 2}));
    EXPECT_NEAR(theme.forms[0].alpha->value, 6.0 / 13, 1e-12);
    const struct {
        const char* name;
        std::int32_t right;
        double discrimination;
    } expected[] = {{"Tq11", 6, 0.645497}, {"Tq12", 6, 0.0}, {"Tq13", 4, 0.327327}};
    for (std::size_t q = 0; q < 3; ++q) {
        EXPECT_EQ(theme.questions[q].name, expected[q].name);
        EXPECT_EQ(theme.questions[q].attempts, 10);
        EXPECT_EQ(theme.questions[q].right, expected[q].right);
        EXPECT_NEAR(*theme.questions[q].discrimination, expected[q].discrimination, 1e-6) << expected[q].name;
    }
    // Without Tq11 the set is Tq12 and Tq13: variances 0.24 and 0.24, both
    // right in 0.2 of the attempts, so a covariance of 0.2 − 0.6 · 0.4:
    // alpha = 2 · (1 − 0.48 / (0.48 + 2 · (−0.04))) = −0.4.
    EXPECT_NEAR(*theme.questions[0].alphaWithout, 2 * (1 - 0.48 / (0.48 + 2 * (0.2 - 0.6 * 0.4))), 1e-9);
    // Upper and lower groups: round(0.27 · 10) = 3 attempts each.
    EXPECT_EQ(theme.questions[0].upperGroup, 3);
    EXPECT_EQ(theme.questions[0].lowerGroup, 3);
}

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kalvena-named-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

void Write(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Named again, lying in a folder named too, under a second name of the same
// file: each pair once, where first reached.
TEST(ItemPooling, EachFileOnceHoweverReached) {
    const TemporaryFolder folder;
    const auto& root = folder.Path();
    Write(root / "pc01" / "Results.txt", "");
    Write(root / "pc01" / "Results.answers.csv", "");
    Write(root / "pc02" / "Results.txt", "");
    Write(root / "pc02" / "Results.answers.csv", "");
    Write(root / "pc03" / "Results.answers.csv", "");  // the log moved away
    std::filesystem::create_directories(root / "copy");
    std::filesystem::create_hard_link(root / "pc01" / "Results.answers.csv", root / "copy" / "Results.answers.csv");
    std::filesystem::create_directories(root / "empty");

    const viewer::Naming naming = viewer::FilesNamed(
        {root / "pc01" / "Results.txt", root, root / "pc02" / ".." / "pc02" / "Results.answers.csv", root / "empty"});
    std::vector<std::string> found;
    for (const auto& files : naming.files) {
        found.push_back(files.record.lexically_relative(root).string() + " " + files.computer + " " +
                        (files.logFound ? "log" : "-"));
    }
    EXPECT_EQ(found, (std::vector<std::string>{"pc01/Results.answers.csv pc01 log", "pc02/Results.answers.csv pc02 log",
                                               "pc03/Results.answers.csv pc03 -"}));
    EXPECT_EQ(naming.emptyFolders, (std::vector<std::filesystem::path>{root / "empty"}));
    EXPECT_EQ(naming.folders, (std::vector<std::filesystem::path>{root, root / "empty"}));
    // Listed only, for the window that follows them: no file below is taken.
    const viewer::Naming listed =
        viewer::FilesNamed({root / "pc03" / "Results.answers.csv", root}, viewer::Folders::Listed);
    ASSERT_EQ(listed.files.size(), 1u);
    EXPECT_EQ(listed.files[0].log, root / "pc03" / "Results.txt");
    EXPECT_TRUE(listed.files[0].recordNamed);
    EXPECT_EQ(listed.folders, (std::vector<std::filesystem::path>{root}));
    EXPECT_EQ(viewer::PairKey(root / "copy" / "Results.txt"), viewer::PairKey(root / "pc01" / "Results.txt"));
    EXPECT_NE(viewer::PairKey(root / "pc02" / "Results.txt"), viewer::PairKey(root / "pc01" / "Results.txt"));
}

// The computer is the log's folder below the one opened, however the
// opened folder was written.
TEST(ItemPooling, ComputerOfALogBelowTheOpenedFolder) {
    const struct {
        const char* log;
        const char* root;
        const char* computer;
    } cases[] = {{"/srv/kalvena/pc01/Results.txt", "/srv/kalvena", "pc01"},
                 {"/srv/kalvena/pc01/Results.txt", "/srv/kalvena/", "pc01"},
                 {"/srv/kalvena/pc08/sub/Results.txt", "/srv/kalvena//", "pc08/sub"},
                 {"/srv/kalvena/pc01/Results.txt", "/srv/kalvena/.", "pc01"},
                 {"/srv/kalvena/Results.txt", "/srv/kalvena/", "kalvena"},
                 {"/srv/kalvena/pc01/Results.txt", "", "pc01"},
                 {"/srv/other/Results.txt", "/srv/kalvena", "other"}};
    for (const auto& each : cases) {
        EXPECT_EQ(viewer::ComputerOf(each.log, each.root), each.computer) << each.log << " in " << each.root;
    }
}

// The platoon, the computer (a record) and a term choose the tests; the
// counts say how many of the finished ones were taken.
TEST(ItemPooling, SelectionTakesPlatoonRecordAndTerm) {
    const std::vector<Shown> two = {{"Tq11", 1, true}, {"Tq12", 2, false}};
    const auto line = [&](const std::string& name, const std::string& platoon, const std::string& time) {
        std::string text = EndLine(name, time, two, "finished", "3fa85f64", 1);
        const std::string standard = ",ВЗ-21,";
        text.replace(text.find(standard), standard.size(), "," + platoon + ",");
        return text;
    };
    AnswersReader pc01, pc02;
    pc01.Feed(line("А", "ВЗ-21", "2026-09-01T09:00:00+03:00") + line("Б", "ВЗ 22", "2026-10-01T09:00:00+03:00") +
              line("В", "ВЗ-21", "2027-02-01T09:00:00+03:00"));
    pc02.Feed(line("Г", " ВЗ-21 ", "2026-11-01T09:00:00+03:00"));
    const struct {
        viewer::ItemSelection selection;
        std::int32_t selected;
    } cases[] = {
        {{}, 4},
        {{viewer::PlatoonKey("ВЗ-21"), {}, {}, {}}, 3},
        {{{}, {false, true}, {}, {}}, 1},
        {{{}, {}, 1788307200 /* 2026-09-02 UTC */, 1798761600 /* 2027-01-01 UTC */}, 2},
        {{viewer::PlatoonKey("ВЗ-21"), {true, false}, {}, 1798761600}, 1},
    };
    for (const auto& each : cases) {
        const auto analysis = viewer::AnalyzeItems({&pc01, &pc02}, Scoring::AllAttempts, {}, each.selection);
        EXPECT_EQ(analysis.finished, 4);
        EXPECT_EQ(analysis.selected, each.selected);
        ASSERT_EQ(analysis.themes.size(), 1u);
        EXPECT_EQ(analysis.themes[0].attempts, each.selected);
    }
    const auto all = viewer::AnalyzeItems({&pc01, &pc02}, Scoring::AllAttempts, {});
    EXPECT_EQ(all.themes[0].platoons, (std::vector<std::string>{"ВЗ 22", "ВЗ-21"}));
    EXPECT_EQ(all.themes[0].questions[0].byPlatoon,
              (std::vector<std::pair<std::int32_t, std::int32_t>>{{1, 1}, {3, 3}}));
}

// Two decimals, three where two would round a figure to 0,00 or 1,00.
TEST(ItemPooling, ThirdDecimalWhereTwoHideTheFigure) {
    const struct {
        double facility;
        const char* shown;
    } cases[] = {{0.5, "0,50"}, {1.0, "1,00"}, {0.996, "0,996"}, {0.004, "0,004"}, {-0.003, "-0,003"}, {0.994, "0,99"}};
    for (const auto& each : cases) {
        viewer::ItemAnalysis analysis;
        analysis.themes.emplace_back();
        analysis.themes[0].questions.emplace_back();
        analysis.themes[0].questions[0].facility = each.facility;
        const viewer::Grid grid = viewer::ItemGrid(analysis);
        EXPECT_EQ(grid.rows.at(1)[static_cast<std::size_t>(viewer::ItemColumn::Facility)].text, each.shown);
    }
}

// The list for whoever revises the bank: where each flag's question stands.
TEST(ItemPooling, RevisionListsFlaggedQuestionsByTheirSource) {
    viewer::ItemAnalysis analysis;
    analysis.themes.emplace_back();
    auto& theme = analysis.themes[0];
    theme.bank = 0x3fa85f64;
    theme.questions.resize(3);
    theme.questions[0].name = "Tq1207";
    theme.questions[0].wording = viewer::BankQuestion{"", {}, 1, viewer::BankSource{"content/bank/theme-12.txt", 63}};
    theme.questions[0].flags = {"различает наоборот: сильные выбирают вариант 3 (14 из 20 против 7 из 20)",
                                viewer::kRoughNote};
    theme.questions[1].name = "Tq1208";
    theme.questions[2].name = "Tq1209";
    theme.questions[2].flags = {"слишком легкий"};
    EXPECT_EQ(viewer::RevisionText(analysis),
              "content/bank/theme-12.txt:63: Tq1207: различает наоборот: сильные выбирают вариант 3 (14 из 20 против "
              "7 из 20)\n"
              "банк 3fa85f64: Tq1209: слишком легкий\n");
}

}  // namespace
