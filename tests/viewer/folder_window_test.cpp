#include <gtest/gtest.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "tests/log/log_test_support.h"
#include "tests/support/temp_dir.h"
#include "tests/viewer/window_test_support.h"
#include "viewer/core/analysis/results_table.h"
#include "viewer/window/results_window.h"

namespace {

using testsupport::TemporaryWorkingDirectory;
using viewer::Column;
using viewer::ResultsWindow;
using viewertest::Eventually;

void WriteLog(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << logtest::Cp1251(text);
}

QString Cell(ResultsWindow& window, int row, Column column) {
    return window.Table().model()->index(row, static_cast<int>(column)).data().toString();
}

// The table's rows as "name@computer", in the order written.
QStringList Rows(ResultsWindow& window) {
    QStringList rows;
    for (int row = 0; row < window.Table().model()->rowCount(); ++row) {
        rows << Cell(window, row, Column::FullName) + "@" + Cell(window, row, Column::Computer);
    }
    return rows;
}

TEST(FolderView, OpensEveryComputersLogAndFollowsNewOnes) {
    TemporaryWorkingDirectory dir;
    WriteLog("class/pc01/Results.txt", "Орлов\r\n101\r\nПравильных ответов 7 из 10\r\n\r\n");
    WriteLog("class/pc02/Results.txt", "Белова\r\n102\r\nПравильных ответов 9 из 10\r\n\r\n");
    WriteLog("class/pc02/notes.txt", "Чужой\r\n101\r\n");
    std::filesystem::create_directories("class/pc04");
    ResultsWindow window;
    window.AddFiles({"class"});
    EXPECT_EQ(Rows(window), QStringList({"Орлов@pc01", "Белова@pc02"}));

    // A computer's folder appears while the class is open.
    WriteLog("class/pc03/Results.txt", "Зуев\r\n101\r\n");
    EXPECT_TRUE(Eventually([&] { return window.Table().model()->rowCount() == 3; }, 2500));
    EXPECT_EQ(Rows(window), QStringList({"Орлов@pc01", "Белова@pc02", "Зуев@pc03"}));

    // A folder that had no log gets one.
    WriteLog("class/pc04/Results.txt", "Яшин\r\n102\r\nПравильных ответов 5 из 10\r\n\r\n");
    EXPECT_TRUE(Eventually([&] { return window.Table().model()->rowCount() == 4; }, 2500));
    EXPECT_EQ(Rows(window), QStringList({"Орлов@pc01", "Белова@pc02", "Зуев@pc03", "Яшин@pc04"}));
}

TEST(FolderView, TheComputerChoiceNarrowsTheTableAndTheSummary) {
    TemporaryWorkingDirectory dir;
    WriteLog("class/pc01/Results.txt", "Орлов\r\n101\r\nПравильных ответов 7 из 10\r\n\r\nЗуев\r\n101\r\n");
    WriteLog("class/pc10/Results.txt", "Белова\r\n101\r\nПравильных ответов 9 из 10\r\n\r\n");
    WriteLog("lab2/Results.txt", "Яшин\r\n101\r\n");
    ResultsWindow window;
    // A log opened alone goes by its folder's name; an answers record named
    // (dropped, say) stands for its log, as on the command line.
    window.AddFiles({"class", "lab2/Results.answers.csv"});
    auto* choice = window.findChild<QComboBox*>("computer");
    ASSERT_NE(choice, nullptr);
    QStringList items;
    for (int i = 0; i < choice->count(); ++i) items << choice->itemText(i);
    EXPECT_EQ(items, QStringList({"Все компьютеры", "lab2", "pc01", "pc10"}));

    choice->setCurrentIndex(2);
    EXPECT_EQ(Rows(window), QStringList({"Орлов@pc01", "Зуев@pc01"}));
    auto* summary = window.findChild<QTableWidget*>("summary");
    const int overall = summary->rowCount() - 1;
    EXPECT_EQ(summary->item(overall, static_cast<int>(viewer::SummaryColumn::Attempts))->text(), "2");
    EXPECT_EQ(summary->item(overall, static_cast<int>(viewer::SummaryColumn::MeanPercent))->text(), "70,0");

    choice->setCurrentIndex(0);
    EXPECT_EQ(window.Table().model()->rowCount(), 4);
}

}  // namespace
