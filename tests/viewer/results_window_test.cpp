#include "viewer/window/results_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QChartView>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QUrl>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "tests/log/log_test_support.h"
#include "tests/support/temp_dir.h"
#include "tests/viewer/viewer_test_support.h"
#include "tests/viewer/window_test_support.h"
#include "viewer/model/results_filter.h"
#include "viewer/model/results_model.h"
#include "viewer/window/window_geometry.h"

namespace {

using testsupport::TemporaryWorkingDirectory;
using viewer::ResultsWindow;
using viewertest::AbandonTest;
using viewertest::FinishTest;
using viewertest::WaitUntil;

// Every window here reads and writes its settings apart from the user's.
const bool kSettingsApart = [] {
    QStandardPaths::setTestModeEnabled(true);
    return true;
}();

// Runs the event loop until the condition holds; the time it took, or -1.
QStringList ColumnOf(QTableView& table, viewer::Column column) {
    QStringList texts;
    for (int row = 0; row < table.model()->rowCount(); ++row) {
        texts << table.model()->index(row, static_cast<int>(column)).data().toString();
    }
    return texts;
}

void WriteClass() {
    FinishTest("Иванов Иван", "101", 7, 10);
    AbandonTest("Петров Петр", "101");
    FinishTest("Сидоров Сидор", "102", 8, 8);
    FinishTest("Смирнова Анна", "21", 5, 10);
}

TEST(ResultsWindow, OpensSortsAndFilters) {
    TemporaryWorkingDirectory dir;
    WriteClass();
    ResultsWindow window;
    window.AddFiles({"Results.txt"});
    window.show();
    QTableView& table = window.Table();
    ASSERT_EQ(table.model()->rowCount(), 4);
    EXPECT_EQ(ColumnOf(table, viewer::Column::FullName),
              (QStringList{"Иванов Иван", "Петров Петр", "Сидоров Сидор", "Смирнова Анна"}));
    EXPECT_EQ(ColumnOf(table, viewer::Column::Grade),
              (QStringList{"4 (хорошо)", "", "5 (отлично)", "2 (неудовлетворительно)"}));
    EXPECT_EQ(ColumnOf(table, viewer::Column::State), (QStringList{"завершён", "не завершён", "завершён", "завершён"}));
    EXPECT_TRUE(table.model()->index(1, 0).data(Qt::BackgroundRole).isValid()) << "unfinished stands out";

    table.sortByColumn(static_cast<int>(viewer::Column::Percent), Qt::DescendingOrder);
    EXPECT_EQ(ColumnOf(table, viewer::Column::Percent), (QStringList{"100", "70", "50", ""}));
    table.sortByColumn(static_cast<int>(viewer::Column::FullName), Qt::AscendingOrder);
    EXPECT_EQ(ColumnOf(table, viewer::Column::Number), (QStringList{"1", "2", "3", "4"}));

    auto* platoons = window.findChild<QComboBox*>("platoon");
    ASSERT_EQ(platoons->count(), 4) << "all, then 21, 101, 102";
    EXPECT_EQ(platoons->itemText(1), "21");
    platoons->setCurrentIndex(platoons->findText("101"));
    EXPECT_EQ(ColumnOf(table, viewer::Column::FullName), (QStringList{"Иванов Иван", "Петров Петр"}));
    auto* summary = window.findChild<QTableWidget*>("summary");
    ASSERT_EQ(summary->rowCount(), 2) << "platoon 101 and the overall line";
    EXPECT_EQ(summary->item(1, static_cast<int>(viewer::SummaryColumn::Unfinished))->text(), "1");
    // People and attempts under headers of their own.
    QStringList headers;
    QStringList overall;
    for (int c = 1; c <= 5; ++c) {
        headers << summary->horizontalHeaderItem(c)->text();
        overall << summary->item(1, c)->text();
    }
    EXPECT_EQ(headers,
              (QStringList{"Студентов", "Из них завершили", "Попыток", "Попыток завершено", "Попыток не завершено"}));
    EXPECT_EQ(overall, (QStringList{"2", "1", "2", "1", "1"}));

    platoons->setCurrentIndex(0);
    auto* search = window.findChild<QLineEdit*>();
    search->insert("сидор");
    EXPECT_EQ(ColumnOf(table, viewer::Column::FullName), (QStringList{"Сидоров Сидор"}));
}

// The search compares names folded once each: rows arriving in the middle
// of the table, or a file written anew, must not leave them stale.
TEST(ResultsWindow, SearchKeepsToTheNamesWhenAnEarlierFileGrows) {
    TemporaryWorkingDirectory dir;
    std::filesystem::create_directory("a");
    std::filesystem::create_directory("b");
    std::filesystem::current_path("a");
    FinishTest("Иванов Иван", "101", 7, 10);
    std::filesystem::current_path("../b");
    FinishTest("Петров Петр", "102", 8, 10);
    std::filesystem::current_path("..");
    ResultsWindow window;
    window.AddFiles({"a/Results.txt", "b/Results.txt"});
    window.findChild<QLineEdit*>()->setText("ПЕТРОВ");
    EXPECT_EQ(ColumnOf(window.Table(), viewer::Column::FullName), QStringList{"Петров Петр"});
    std::filesystem::current_path("a");
    FinishTest("Сидоров Сидор", "101", 9, 10);
    FinishTest("Петрова Анна", "101", 9, 10);
    std::filesystem::current_path("..");
    EXPECT_GE(WaitUntil([&] { return window.Model().rowCount() == 4; }), 0);
    EXPECT_EQ(ColumnOf(window.Table(), viewer::Column::FullName), (QStringList{"Петрова Анна", "Петров Петр"}));
    // The other file written anew from its start: its names are read again.
    std::filesystem::rename("b/Results.txt", "b/collected.txt");
    std::filesystem::current_path("b");
    FinishTest("Козлов Олег Иванович", "102", 8, 10);
    std::filesystem::current_path("..");
    EXPECT_GE(WaitUntil([&] { return window.Table().model()->rowCount() == 1; }), 0);
    EXPECT_EQ(ColumnOf(window.Table(), viewer::Column::FullName), QStringList{"Петрова Анна"});
}

TEST(ResultsWindow, PlatoonChoiceKeepsPlatoonsThatOnlyLeadingZerosTellApart) {
    TemporaryWorkingDirectory dir;
    FinishTest("Иванов Иван", "7", 7, 10);
    FinishTest("Петров Петр", "007", 9, 10);
    FinishTest("Сидоров Сидор", "ВУЦ-21", 8, 8);
    FinishTest("Смирнова Анна", "ВУЦ-021", 5, 10);
    ResultsWindow window;
    window.AddFiles({"Results.txt"});
    auto* platoons = window.findChild<QComboBox*>("platoon");
    QStringList texts;
    for (int i = 0; i < platoons->count(); ++i) texts << platoons->itemText(i);
    EXPECT_EQ(texts, (QStringList{"Все взводы", "007", "7", "ВУЦ-021", "ВУЦ-21"}));
}

// The status line without its clock time, readable in a failure.
std::string StatusCounts(ResultsWindow& window) {
    const QString text = window.findChild<QLabel*>("status")->text();
    return text.left(text.indexOf(" · обновлено в ")).toStdString();
}

TEST(ResultsWindow, StatusCountsTheShownRowsOnly) {
    TemporaryWorkingDirectory dir;
    WriteClass();
    AbandonTest("Кузнецов Кирилл", "102");
    ResultsWindow window;
    window.AddFiles({"Results.txt"});
    window.show();
    EXPECT_EQ(StatusCounts(window), "Показано попыток: 5 из 5 · завершено: 3 · не завершено: 2 · файлов: 1");

    // Hides two finished attempts and an unfinished one.
    auto* platoons = window.findChild<QComboBox*>("platoon");
    platoons->setCurrentIndex(platoons->findText("101"));
    EXPECT_EQ(StatusCounts(window), "Показано попыток: 2 из 5 · завершено: 1 · не завершено: 1 · файлов: 1");

    platoons->setCurrentIndex(0);
    window.findChild<QLineEdit*>()->insert("сидор");
    EXPECT_EQ(StatusCounts(window), "Показано попыток: 1 из 5 · завершено: 1 · не завершено: 0 · файлов: 1");
}

TEST(ResultsWindow, ShowsEntriesTheTestProgramAppendsWithinASecond) {
    TemporaryWorkingDirectory dir;
    FinishTest("Иванов Иван", "101", 7, 10);
    ResultsWindow window;
    window.AddFiles({"Results.txt"});
    window.show();
    const auto rows = [&] { return window.Table().model()->rowCount(); };
    ASSERT_EQ(rows(), 1);

    FinishTest("Петров Петр", "101", 9, 10);
    const qint64 took = WaitUntil([&] { return rows() == 2; });
    EXPECT_GE(took, 0);
    EXPECT_LT(took, 1000);
    EXPECT_EQ(window.Table().model()->index(1, static_cast<int>(viewer::Column::Grade)).data().toString(),
              "5 (отлично)");

    // A header alone first, then its result from a later append.
    std::ofstream("Results.txt", std::ios::binary | std::ios::app) << logtest::Cp1251("Орлов\r\n102\r\n");
    ASSERT_GE(WaitUntil([&] { return rows() == 3; }), 0);
    const QModelIndex state = window.Table().model()->index(2, static_cast<int>(viewer::Column::State));
    EXPECT_EQ(state.data().toString(), "не завершён");
    std::ofstream("Results.txt", std::ios::binary | std::ios::app)
        << logtest::Cp1251("Правильных ответов 6 из 10\r\n\r\n");
    EXPECT_GE(WaitUntil([&] { return state.data().toString() == "завершён"; }), 0);
}

TEST(ResultsWindow, ExportsThroughTheToolbar) {
    TemporaryWorkingDirectory dir;
    WriteClass();
    ResultsWindow window;
    window.AddFiles({"Results.txt"});
    window.show();
    QStringList suggested;
    window.SetSavePathChooser([&](const QString&, const QString& path, const QString&) {
        suggested << path;
        return QFileInfo(path).fileName();
    });
    for (const QString name : {"CSV…", "XLSX…", "PDF…", "Диаграмма в PNG…"}) {
        QAction* action = window.findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name.toStdString();
        action->trigger();
    }
    ASSERT_EQ(suggested.size(), 4);
    const QString date = QDate::currentDate().toString("yyyy-MM-dd");
    EXPECT_TRUE(suggested[0].endsWith("/Results-" + date + ".csv")) << suggested[0].toStdString();
    for (const QString& path : suggested) {
        EXPECT_GT(QFileInfo(QFileInfo(path).fileName()).size(), 0) << path.toStdString();
    }
    const std::string csv = testsupport::ReadFileBytes(("Results-" + date + ".csv").toStdString());
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    // The log's computer is its folder's name.
    const std::string computer = dir.Path().filename().string();
    EXPECT_NE(csv.find("\r\n2;Петров Петр;101;;;;;не завершён;" + computer + ";Results.txt;\r\n"), std::string::npos);
}

TEST(ResultsWindow, PrintsTheSummaryAndTheShownRows) {
    TemporaryWorkingDirectory dir;
    WriteClass();
    ResultsWindow window;
    window.AddFiles({"Results.txt"});
    QString document;
    window.SetPrinterSetup([&](QPrinter& printer) {
        document = printer.docName();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName("printed.pdf");
        return true;
    });
    QAction* print = window.findChild<QAction*>("Печать…");
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(print->shortcut(), QKeySequence(QKeySequence::Print));
    print->trigger();
    EXPECT_TRUE(document.startsWith("Результаты тестирования: Results.txt")) << document.toStdString();
    EXPECT_EQ(testsupport::ReadFileBytes("printed.pdf").substr(0, 5), "%PDF-");
}

TEST(ResultsWindow, TheChartNamesEveryOneOfThirtyPlatoons) {
    TemporaryWorkingDirectory dir;
    for (int platoon = 101; platoon <= 130; ++platoon)
        FinishTest("Иванов Иван", std::to_string(platoon).c_str(), 7, 10);
    ResultsWindow window;
    window.resize(1024, 700);
    window.AddFiles({"Results.txt"});
    window.show();
    auto* chart = window.findChild<QChartView*>();
    ASSERT_NE(chart, nullptr);
    window.findChild<QTabWidget*>()->setCurrentWidget(chart);
    QTest::qWait(300);  // the summary waits for a burst of appends to end
    QCoreApplication::sendPostedEvents();
    QStringList labels;
    for (QGraphicsItem* item : chart->scene()->items()) {
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item)) labels << text->toPlainText();
    }
    EXPECT_TRUE(labels.contains("101") && labels.contains("130")) << labels.join("|").toStdString();
    for (const QString& label : labels)
        EXPECT_FALSE(label.endsWith("...") || label.contains(u'…')) << label.toStdString();
}

TEST(ResultsWindow, FitsAnEightHundredBySixHundredScreen) {
    TemporaryWorkingDirectory dir;
    WriteClass();
    ResultsWindow window;
    window.AddFiles({"Results.txt"});
    window.show();
    // The window may take 90 % of the screen; its layout must not ask more.
    const QSize least = window.minimumSizeHint().expandedTo(window.minimumSize());
    EXPECT_LE(least.width(), 720);
    EXPECT_LE(least.height(), 540);
    const QRect fitted = viewer::FittedGeometry(QRect(0, 0, 800, 600), QRect());
    window.setGeometry(fitted);
    EXPECT_EQ(window.size(), fitted.size()) << "the layout widened the window past the screen";
}

TEST(ResultsWindow, AFileThatCannotBeReadIsSaidWhereTheTableWouldBe) {
    TemporaryWorkingDirectory dir;
    ResultsWindow window;
    window.AddFiles({"missing.txt"});
    window.show();
    auto* notice = window.findChild<QLabel*>("notice");
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_FALSE(window.Table().isVisible());
    EXPECT_EQ(notice->text(), "Файл «missing.txt»: файл не найден");

    FinishTest("Иванов Иван", "101", 7, 10);
    std::filesystem::rename("Results.txt", "missing.txt");
    EXPECT_GE(WaitUntil([&] { return window.Table().isVisible(); }), 0) << "the table comes back once there are rows";
    EXPECT_FALSE(notice->isVisible());
}

TEST(ResultsWindow, TakesDroppedFilesAndListsRemarks) {
    TemporaryWorkingDirectory dir;
    std::ofstream("other.txt", std::ios::binary) << logtest::Cp1251("Правильных ответов 3 из 10\r\nКозлов\r\n103\r\n");
    ResultsWindow window;
    window.show();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QFileInfo("other.txt").absoluteFilePath())});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    EXPECT_EQ(window.Table().model()->rowCount(), 1);
    auto* tabs = window.findChild<QTabWidget*>();
    EXPECT_EQ(tabs->tabText(2), "Замечания (1)");
    auto* remarks = window.findChild<QTableWidget*>("remarks");
    ASSERT_EQ(remarks->rowCount(), 1);
    EXPECT_EQ(remarks->item(0, 0)->text(), "other.txt");
    EXPECT_EQ(remarks->item(0, 1)->text(), "1");
}

TEST(ResultsWindow, MarksAnEntryAlteredAfterItWasSeen) {
    TemporaryWorkingDirectory dir;
    const auto write = [](const char* secondResult) {
        std::ofstream("Results.txt", std::ios::binary | std::ios::trunc)
            << logtest::Cp1251(std::string("Иванов Иван\r\n101\r\nПравильных ответов 7 из 10\r\n\r\n") +
                               "Петров Петр\r\n101\r\nПравильных ответов " + secondResult + " из 10\r\n\r\n");
    };
    write("4");
    ResultsWindow window;
    window.AddFiles({"Results.txt"});
    const QAbstractItemModel& model = *window.Table().model();
    ASSERT_EQ(model.rowCount(), 2);
    write("9");  // in place: the same file, its bytes altered
    const QModelIndex second = model.index(1, 1);
    ASSERT_GE(WaitUntil([&] { return second.data(Qt::BackgroundRole).isValid(); }), 0);
    EXPECT_EQ(second.data(Qt::BackgroundRole).value<QBrush>().color(), QColor(0xFF, 0xC8, 0xC8));
    EXPECT_FALSE(model.index(0, 1).data(Qt::BackgroundRole).isValid()) << "the first entry is as it was";
    const QString tip = second.data(Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.startsWith("Запись изменена после ")) << tip.toStdString();
    EXPECT_TRUE(tip.endsWith(": была «Петров Петр, 101, Правильных ответов 4 из 10»")) << tip.toStdString();
    auto* remarks = window.findChild<QTableWidget*>("remarks");
    ASSERT_EQ(remarks->rowCount(), 1);
    EXPECT_EQ(remarks->item(0, 1)->text(), "5");
    EXPECT_TRUE(remarks->item(0, 2)->text().startsWith("запись изменена после "));
}

TEST(ResultsWindow, AFileThatIsNoResultsLogIsSaidToBeOne) {
    TemporaryWorkingDirectory dir;
    std::ofstream("notes.txt", std::ios::binary)
        << std::string("\x01\x02\x03\n", 4) << "An English text, not names and platoons at all\n"
        << "another line of the same text, long as it goes\n";
    ResultsWindow window;
    window.AddFiles({"notes.txt"});
    const std::string expected =
        "Файл «notes.txt» не похож на файл результатов: в нём нет ни одной строки результата, "
        "зато есть строки, каких в файле результатов не бывает (с непечатаемыми символами "
        "или длиннее ФИО и учебного взвода): 2";
    EXPECT_EQ(StatusCounts(window),
              expected + " · Показано попыток: 0 из 0 · завершено: 0 · не завершено: 0 · файлов: 1");
    auto* remarks = window.findChild<QTableWidget*>("remarks");
    ASSERT_EQ(remarks->rowCount(), 1);
    EXPECT_EQ(remarks->item(0, 2)->text().toStdString(), expected);
}

// Screens as small as 800×600 and as large as 2560×1440, with a panel
// taking the top of one.
TEST(WindowGeometry, FitsTheScreenAndKeepsWhereItWas) {
    using viewer::FittedGeometry;
    EXPECT_EQ(FittedGeometry(QRect(0, 0, 1024, 768), {}), QRect(51, 38, 921, 691));
    EXPECT_EQ(FittedGeometry(QRect(0, 0, 800, 600), {}), QRect(40, 30, 720, 540));
    EXPECT_EQ(FittedGeometry(QRect(0, 0, 2560, 1440), {}), QRect(730, 360, 1100, 720));
    EXPECT_EQ(FittedGeometry(QRect(0, 32, 1024, 736), {}), QRect(51, 69, 921, 662));

    EXPECT_EQ(FittedGeometry(QRect(0, 0, 1920, 1080), QRect(100, 120, 900, 600)), QRect(100, 120, 900, 600));
    // Last seen on a larger screen, or on one to the right that is gone.
    EXPECT_EQ(FittedGeometry(QRect(0, 0, 1024, 768), QRect(500, 300, 1600, 1000)), QRect(63, 39, 921, 691));
    EXPECT_EQ(FittedGeometry(QRect(0, 0, 1024, 768), QRect(2000, -50, 600, 400)), QRect(384, 40, 600, 400));
}

// The offscreen screen is 800×800 whatever is asked; the window is at
// least as wide as its toolbar, so only the height is sure to come back.
TEST(ResultsWindow, OpensWhereItWasClosed) {
    ASSERT_TRUE(kSettingsApart);
    QSettings("Kalvena", "kalvena-results").clear();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QRect closedAt;
    {
        ResultsWindow window;
        window.show();
        window.setGeometry(screen.x() + 60, screen.y() + 50, screen.width() / 2, 400);
        closedAt = window.geometry();
        window.close();
    }
    EXPECT_EQ(QSettings("Kalvena", "kalvena-results").value("window/geometry").toRect(), closedAt);
    ResultsWindow again;
    EXPECT_EQ(again.geometry().top(), screen.y() + 50);
    EXPECT_EQ(again.geometry().height(), 400);
    QSettings("Kalvena", "kalvena-results").clear();
}

}  // namespace
