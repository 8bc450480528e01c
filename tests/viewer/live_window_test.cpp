#include <gtest/gtest.h>

#include <QLabel>

#include <QAction>
#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <fstream>
#include <functional>
#include <string>

#include "tests/log/log_test_support.h"
#include "tests/support/temp_dir.h"
#include "tests/viewer/window_test_support.h"
#include "viewer/core/analysis/item_table.h"
#include "viewer/core/analysis/results_table.h"
#include "viewer/model/results_filter.h"
#include "viewer/window/items_panel.h"
#include "viewer/window/results_window.h"

namespace {

using testsupport::TemporaryWorkingDirectory;
using viewer::ResultsWindow;
using viewertest::Eventually;

void AppendLog(const std::string& text) {
    std::ofstream("Results.txt", std::ios::binary | std::ios::app) << logtest::Cp1251(text);
}

// Lines of the answers record; `tail` continues an end line.
void AppendRecord(const std::string& event, int secondsAgo, const std::string& id, const std::string& name, int theme,
                  const std::string& tail = "") {
    const QString time = QDateTime::currentDateTimeUtc().addSecs(-secondsAgo).toString(Qt::ISODate);
    std::ofstream("Results.answers.csv", std::ios::binary | std::ios::app)
        << "kalvena-answers-1," << event << "," << time.toStdString() << ",pc12,1.0,3fa85f64," << id << "," << name
        << ",101," << theme << tail << "\n";
}

TEST(LiveView, ShowsTestsBeingAnsweredAndHowUnfinishedOnesEnded) {
    TemporaryWorkingDirectory dir;
    AppendLog("Орлов\r\n101\r\n");
    AppendRecord("start", 600, "00000000000000a1", "Орлов", 2);
    AppendRecord("end", 500, "00000000000000a1", "Орлов", 2, ",program-end,0,10,Tq21,,0,40");
    ResultsWindow window;
    window.AddFiles({"Results.txt"});
    window.show();
    const auto state = [&](int row) {
        return window.Table().model()->index(row, static_cast<int>(viewer::Column::State)).data().toString();
    };
    EXPECT_EQ(state(0), "прервано: программа закрыта");

    // The same student again: the second registration pairs with the second start.
    AppendLog("Орлов\r\n101\r\n");
    ASSERT_TRUE(Eventually([&] { return window.Table().model()->rowCount() == 2; }));
    EXPECT_EQ(state(1), "не завершён");
    AppendRecord("start", 125, "00000000000000b2", "Орлов", 4);
    EXPECT_TRUE(Eventually([&] { return state(1) == "идет тест, тема 4, 2 мин"; })) << state(1).toStdString();
    EXPECT_EQ(state(0), "прервано: программа закрыта");
    // Exports and the status line say so too.
    const viewer::ExportData shown = window.Filter().Shown(viewer::Counting::AllAttempts);
    EXPECT_EQ(viewer::CellText(shown.rows[1], viewer::Column::State), "идет тест, тема 4, 2 мин");
    EXPECT_NE(window.findChild<QLabel*>("status")->text().indexOf("завершено: 0 · идет тест: 1 · не завершено: 1"), -1)
        << window.findChild<QLabel*>("status")->text().toStdString();

    AppendRecord("end", 0, "00000000000000b2", "Орлов", 4, ",finished,1,1,Tq41,2,1,30");
    AppendLog("Правильных ответов 1 из 1\r\n\r\n");
    EXPECT_TRUE(Eventually([&] { return state(1) == "завершён"; })) << state(1).toStdString();

    AppendLog("Белова\r\n101\r\n");
    AppendRecord("start", 60, "00000000000000c3", "Белова", 5);
    AppendRecord("end", 0, "00000000000000c3", "Белова", 5, ",stopped,0,10,Tq51,,0,20");
    EXPECT_TRUE(Eventually([&] { return state(2) == "прекращено студентом"; })) << state(2).toStdString();
}

// What the collecting service writes: the account in column 11.
void AppendServiceRecord(const std::string& event, const std::string& id, const std::string& name,
                         const std::string& account, const std::string& tail = "") {
    std::ofstream("Results.answers.csv", std::ios::binary | std::ios::app)
        << "kalvena-answers-2," << event << ",2026-12-08T09:00:00+03:00,pc12,1.0,3fa85f64," << id << "," << name
        << ",101,3," << account << tail << "\n";
}

TEST(LiveView, ShowsAccountsAbandonedTestsAndFlagsWhatDoesNotTieTogether) {
    TemporaryWorkingDirectory dir;
    AppendServiceRecord("start", "00000000000000a1", "Орлов", "s.orlov");
    AppendServiceRecord("end", "00000000000000a1", "Орлов", "s.orlov", ",finished,1,1,Tq31,2,1,30");
    AppendLog("Орлов\r\n101\r\nПравильных ответов 1 из 1\r\n\r\n");
    AppendServiceRecord("start", "00000000000000a2", "Соколов", "s.sokolov");
    AppendServiceRecord("end", "00000000000000a2", "Соколов", "s.sokolov", ",abandoned,0,1");
    AppendLog("Соколов\r\n101\r\n");
    ResultsWindow window;
    window.AddFiles({"Results.txt"});
    window.show();
    const QAbstractItemModel& table = *window.Table().model();
    const auto cell = [&](int row, viewer::Column column, int role = Qt::DisplayRole) {
        return table.index(row, static_cast<int>(column)).data(role);
    };
    const auto red = [&](int row) {
        return cell(row, viewer::Column::FullName, Qt::BackgroundRole).value<QBrush>().color() ==
               QColor(0xFF, 0xC8, 0xC8);
    };
    const auto* remarks = window.findChild<QTableWidget*>("remarks");
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(cell(0, viewer::Column::Account).toString(), "s.orlov");
    EXPECT_EQ(cell(1, viewer::Column::Account).toString(), "s.sokolov");
    EXPECT_EQ(cell(1, viewer::Column::State).toString(), "прервано");
    EXPECT_FALSE(red(0) || red(1));
    EXPECT_EQ(remarks->rowCount(), 0);
    EXPECT_EQ(viewer::CellText(window.Filter().Shown(viewer::Counting::AllAttempts).rows[0], viewer::Column::Account),
              "s.orlov");

    // A grade no attempt stands behind, a name taken by another account and
    // a line that cannot be read: each told, the rows in red.
    AppendLog("Соколов\r\n101\r\nПравильных ответов 1 из 1\r\n\r\n");
    ASSERT_TRUE(Eventually([&] { return table.rowCount() == 3 && red(2); }));
    AppendServiceRecord("start", "00000000000000a3", "Орлов", "s.sokolov");
    std::ofstream("Results.answers.csv", std::ios::binary | std::ios::app) << "kalvena-answers-2,end,обрыв\n";
    EXPECT_TRUE(Eventually([&] { return red(0) && remarks->rowCount() == 3; })) << remarks->rowCount();
    QStringList told;
    for (int row = 0; row < remarks->rowCount(); ++row)
        told << remarks->item(row, 0)->text() + ":" + remarks->item(row, 1)->text() + ": " +
                    remarks->item(row, 2)->text();
    EXPECT_EQ(told, (QStringList{
                        "Results.answers.csv:6: строка без учетной записи или с неверной учетной записью пропущена: "
                        "«kalvena-answers-2,end,обрыв»",
                        "Results.txt:7: «Соколов», результат без попытки: в записи ответов нет конца законченного "
                        "теста с этим ФИО и взводом",
                        "Results.answers.csv:5: ФИО «Орлов» записано разными учетными записями: s.orlov, s.sokolov"}))
        << told.join("\n").toStdString();
    EXPECT_EQ(cell(2, viewer::Column::FullName, Qt::ToolTipRole).toString().left(22), "Результат без попытки:");
    EXPECT_FALSE(red(1));
}

// Ten finished tests of theme 3, Tq31 answered right in `right` of them.
void WriteTheme3(int right) {
    for (int i = 0; i < 10; ++i) {
        const std::string id = "00000000000001" + std::to_string(10 + i);
        const bool correct = i < right;
        AppendRecord("end", 100, id, "Студент " + std::to_string(i), 3,
                     std::string(",finished,") + (correct ? "2" : "1") + ",2,Tq31," + (correct ? "2,1" : "3,0") +
                         ",20,Tq32,1,1,30");
    }
}

QString ItemCell(QTableWidget& table, const QString& question, viewer::ItemColumn column) {
    for (int row = 0; row < table.rowCount(); ++row) {
        const QTableWidgetItem* name = table.item(row, static_cast<int>(viewer::ItemColumn::Question));
        if (name != nullptr && name->text() == question) return table.item(row, static_cast<int>(column))->text();
    }
    return "(нет строки)";
}

TEST(ItemsTab, ShowsTheFacilityOfEachQuestionAndFollowsTheRecord) {
    TemporaryWorkingDirectory dir;
    AppendLog("");
    WriteTheme3(7);
    ResultsWindow window;
    window.AddFiles({"Results.txt"});
    window.show();
    window.Tabs().setCurrentWidget(&window.Items());
    QTableWidget& table = window.Items().Table();
    EXPECT_EQ(ItemCell(table, "Tq31", viewer::ItemColumn::Facility), "0,70");
    EXPECT_EQ(ItemCell(table, "Tq31", viewer::ItemColumn::Attempts), "10");
    EXPECT_EQ(ItemCell(table, "Tq32", viewer::ItemColumn::Facility), "1,00");
    EXPECT_EQ(ItemCell(table, "Tq31", viewer::ItemColumn::Notes), "оценки приблизительны: меньше 30 попыток");

    AppendRecord("end", 0, "00000000000002ff", "Новиков", 3, ",finished,2,2,Tq31,2,1,20,Tq32,1,1,30");
    EXPECT_TRUE(Eventually([&] { return ItemCell(table, "Tq31", viewer::ItemColumn::Facility) == "0,73"; }));

    window.SetSavePathChooser([](const QString&, const QString&, const QString&) { return QString("items.csv"); });
    QPushButton* csv = window.Items().findChild<QPushButton*>("items-csv");
    ASSERT_NE(csv, nullptr);
    csv->click();
    const std::string saved = testsupport::ReadFileBytes("items.csv");
    EXPECT_NE(saved.find(";Tq31;;11;0,73;"), std::string::npos) << saved;

    // Printed while the tab is current: its one page, not the results' two.
    window.SetPrinterSetup([](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName("printed.pdf");
        return true;
    });
    window.findChild<QAction*>("Печать…")->trigger();
    const std::string printed = testsupport::ReadFileBytes("printed.pdf");
    int pages = 0;
    for (std::size_t at = 0; (at = printed.find("/Type /Page\n", at)) != std::string::npos; ++at) ++pages;
    EXPECT_EQ(pages, 1);
}

// The program may keep a registration to itself until the test ends: the
// record's start alone shows the student as being tested, at once, and the
// log's registration takes the row over when it comes.
TEST(LiveView, ShowsAStartTheLogHasNotRegisteredYet) {
    TemporaryWorkingDirectory dir;
    AppendLog("Орлов\r\n101\r\nПравильных ответов 1 из 1\r\n\r\n");
    AppendRecord("start", 120, "00000000000000d4", "Белова", 7);
    ResultsWindow window;
    window.AddFiles({"Results.txt"});
    window.show();
    QAbstractItemModel& model = *window.Table().model();
    const auto cell = [&](int row, viewer::Column column) {
        return model.index(row, static_cast<int>(column)).data().toString();
    };
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(cell(1, viewer::Column::FullName), "Белова");
    EXPECT_EQ(cell(1, viewer::Column::State), "идет тест, тема 7, 2 мин");
    EXPECT_NE(window.findChild<QLabel*>("status")->text().indexOf("идет тест: 1 · не завершено: 0"), -1)
        << window.findChild<QLabel*>("status")->text().toStdString();
    // The column is wide enough for the longest state.
    const QFontMetrics metrics = window.Table().fontMetrics();
    EXPECT_GE(window.Table().columnWidth(static_cast<int>(viewer::Column::State)),
              metrics.horizontalAdvance("тест окончен, результат не записан"));

    AppendLog("Белова\r\n101\r\n");
    EXPECT_TRUE(Eventually([&] { return model.rowCount() == 2 && cell(1, viewer::Column::State).startsWith("идет"); }));
    AppendRecord("end", 0, "00000000000000d4", "Белова", 7, ",finished,1,1,Tq71,2,1,30");
    AppendLog("Правильных ответов 1 из 1\r\n\r\n");
    EXPECT_TRUE(Eventually([&] { return model.rowCount() == 2 && cell(1, viewer::Column::State) == "завершён"; }));
}

// «Вопросы» analyses what the window's filter shows, says how much that is,
// and keeps the flags beside the indices at 1024 × 768.
TEST(ItemsTab, FollowsThePlatoonFilterAndFitsASmallScreen) {
    TemporaryWorkingDirectory dir;
    AppendLog("");
    WriteTheme3(7);
    // Two students of another platoon.
    for (int i = 0; i < 2; ++i) {
        std::ofstream("Results.answers.csv", std::ios::binary | std::ios::app)
            << "kalvena-answers-1,end,2026-12-08T09:00:00+03:00,pc12,1.0,3fa85f64,00000000000003a" << i << ",Иванов "
            << i << ",202,3,finished,0,2,Tq31,3,0,20,Tq32,2,0,30\n";
    }
    AppendLog("Студент 0\r\n101\r\nИванов 0\r\n202\r\n");
    ResultsWindow window;
    window.resize(1024, 768);
    window.AddFiles({"Results.txt"});
    window.show();
    window.Tabs().setCurrentWidget(&window.Items());
    QTableWidget& table = window.Items().Table();
    const auto counts = [&] { return window.Items().findChild<QLabel*>("itemsCounts")->text(); };
    EXPECT_EQ(ItemCell(table, "Tq31", viewer::ItemColumn::Attempts), "12");
    EXPECT_TRUE(counts().startsWith("Анализируется законченных тестов: 12 из 12")) << counts().toStdString();

    auto* platoon = window.findChild<QComboBox*>("platoon");
    platoon->setCurrentIndex(platoon->findData("101"));
    EXPECT_TRUE(Eventually([&] { return ItemCell(table, "Tq31", viewer::ItemColumn::Attempts) == "10"; }));
    EXPECT_TRUE(counts().startsWith("Анализируется законченных тестов: 10 из 12 (взвод 101)"))
        << counts().toStdString();
    EXPECT_NE(window.Items().Title().indexOf("взвод 101"), -1);

    // Facility, discrimination and the flags within the table's width.
    QApplication::processEvents();
    const int width = table.viewport()->width();
    for (const auto column :
         {viewer::ItemColumn::Facility, viewer::ItemColumn::Discrimination, viewer::ItemColumn::Notes}) {
        const int right =
            table.columnViewportPosition(static_cast<int>(column)) + table.columnWidth(static_cast<int>(column));
        EXPECT_LE(right, width) << static_cast<int>(column);
    }
    EXPECT_GE(table.viewport()->height(), 10 * table.verticalHeader()->defaultSectionSize());

    // Side by side per platoon.
    auto* view = window.Items().findChild<QComboBox*>("itemsView");
    platoon->setCurrentIndex(0);
    view->setCurrentIndex(1);
    EXPECT_TRUE(Eventually([&] { return table.columnCount() == 5; }));
    EXPECT_EQ(table.horizontalHeaderItem(3)->text(), "101");
    EXPECT_EQ(table.horizontalHeaderItem(4)->text(), "202");
    EXPECT_EQ(table.item(0, 3)->text(), "0,70 (10)");
    EXPECT_EQ(table.item(0, 4)->text(), "0,00 (2)");
}

}  // namespace
