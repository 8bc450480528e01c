#include "viewer/window/results_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

#include "viewer/core/analysis/item_table.h"
#include "viewer/core/analysis/live_attempts.h"
#include "viewer/core/analysis/results_table.h"
#include "viewer/core/files/named_files.h"
#include "viewer/model/pdf_export.h"
#include "viewer/model/results_filter.h"
#include "viewer/model/results_model.h"
#include "viewer/window/grade_chart.h"
#include "viewer/window/items_panel.h"
#include "viewer/window/read_only_table.h"
#include "viewer/window/window_geometry.h"

namespace viewer {

namespace {

const QString kTitle = QStringLiteral("Калвена — результаты");
const QString kSettingsOrganization = QStringLiteral("Kalvena");
const QString kSettingsApplication = QStringLiteral("kalvena-results");
const QString kGeometryKey = QStringLiteral("window/geometry");
// Summaries wait this long after a change, so a burst of appends costs one.
constexpr int kSummaryDelayMilliseconds = 150;

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QTableWidgetItem* Item(const QString& text, bool alignRight, bool bold = false) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment((alignRight ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    if (bold) {
        QFont font = item->font();
        font.setBold(true);
        item->setFont(font);
    }
    return item;
}

}  // namespace

ResultsWindow::ResultsWindow(QWidget* parent)
    : QMainWindow(parent), model_(new ResultsModel(this)), filter_(new ResultsFilter(model_, this)) {
    setWindowTitle(kTitle);
    setAcceptDrops(true);
    const QSettings settings(kSettingsOrganization, kSettingsApplication);
    const QScreen* screen = QGuiApplication::primaryScreen();
    setGeometry(FittedGeometry(screen->availableGeometry(), settings.value(kGeometryKey).toRect()));

    table_ = new QTableView;
    table_->setModel(filter_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setAlternatingRowColors(false);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(true);
    header->setHighlightSections(false);
    // The state column holds «идет тест, тема 12, 45 мин».
    for (int c = 0; c < kColumnCount; ++c) table_->setColumnWidth(c, kColumns[c].windowWidth);
    // Every state reads whole: the widest of them sets the column.
    int stateWidth = Describe(Column::State).windowWidth;
    for (const LiveKind kind : {LiveKind::Running, LiveKind::Stopped, LiveKind::ProgramEnd, LiveKind::Ended}) {
        const QString text = FromUtf8(LiveStateText({kind, 13, 0}, 999 * 60));
        stateWidth = std::max(stateWidth, table_->fontMetrics().horizontalAdvance(text) + 16);
    }
    table_->setColumnWidth(static_cast<int>(Column::State), stateWidth);

    QStringList summaryTitles;
    for (int c = 0; c < kSummaryColumnCount; ++c) {
        summaryTitles << QString::fromUtf8(SummaryColumnTitle(static_cast<SummaryColumn>(c)));
    }
    summaryTable_ = MakeReadOnlyTable(summaryTitles, this);
    summaryTable_->setObjectName("summary");
    summaryTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    summaryTable_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    summaryTable_->horizontalHeader()->setMinimumSectionSize(90);
    chart_ = new GradeChart(this);
    remarksTable_ = MakeReadOnlyTable({tr("Файл"), tr("Строка"), tr("Замечание")}, this);
    remarksTable_->setObjectName("remarks");
    remarksTable_->setColumnWidth(0, 180);
    remarksTable_->setColumnWidth(1, 70);
    remarksTable_->horizontalHeader()->setStretchLastSection(true);

    tabs_ = new QTabWidget;
    tabs_->setDocumentMode(true);
    tabs_->addTab(summaryTable_, tr("Сводка"));
    tabs_->addTab(chart_, tr("Диаграмма"));
    tabs_->addTab(remarksTable_, tr("Замечания"));
    items_ = new ItemsPanel(*model_, this);
    tabs_->addTab(items_, tr("Вопросы"));
    connect(items_, &ItemsPanel::ExportAsked, this, &ResultsWindow::ExportItems);
    // The histogram of the scores follows the theme chosen on «Вопросы».
    connect(items_, &ItemsPanel::Analyzed, this, [this] { chart_->ShowScores(items_->ShownTheme()); });
    connect(chart_, &GradeChart::ScoresWanted, this, [this] {
        items_->EnsureAnalyzed();
        chart_->ShowScores(items_->ShownTheme());
    });

    notice_ = new QLabel;
    notice_->setObjectName("notice");
    notice_->setAlignment(Qt::AlignCenter);
    notice_->setWordWrap(true);
    notice_->setMargin(24);
    notice_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    notice_->setStyleSheet("color: #A01818; font-size: 12pt;");
    tableOrNotice_ = new QStackedWidget;
    tableOrNotice_->addWidget(table_);
    tableOrNotice_->addWidget(notice_);

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(tableOrNotice_);
    splitter->addWidget(tabs_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setChildrenCollapsible(false);
    // The questions' table needs the height more than the attempts' does:
    // on its tab the split moves up, and back on leaving it.
    connect(tabs_, &QTabWidget::currentChanged, this, [this, splitter] {
        const QList<int> sizes = splitter->sizes();
        const int total = sizes.value(0) + sizes.value(1);
        if (total <= 0) return;
        if (tabs_->currentWidget() == items_) {
            resultsShare_ = static_cast<double>(sizes.value(0)) / total;
            const int results = std::max(total / 5, tableOrNotice_->minimumSizeHint().height());
            splitter->setSizes({results, total - results});
        } else if (resultsShare_ > 0) {
            const int results = static_cast<int>(resultsShare_ * total);
            splitter->setSizes({results, total - results});
            resultsShare_ = 0;
        }
    });

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 6, 8, 4);
    layout->setSpacing(6);
    layout->addWidget(BuildFilterBar());
    layout->addWidget(splitter, 1);
    setCentralWidget(central);

    status_ = new QLabel;
    status_->setObjectName("status");
    // A long message is cut, not let widen the window past the screen.
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(status_, 1);
    BuildActions();

    summaryDelay_.setSingleShot(true);
    summaryDelay_.setInterval(kSummaryDelayMilliseconds);
    connect(&summaryDelay_, &QTimer::timeout, this, &ResultsWindow::ShowSummary);
    connect(model_, &ResultsModel::Updated, this, &ResultsWindow::ShowUpdate);
    // A test started or ended changes the counts in the status line.
    connect(model_, &ResultsModel::RecordsUpdated, this, &ResultsWindow::UpdateStatus);
    ShowUpdate();
}

void ResultsWindow::BuildActions() {
    QToolBar* bar = addToolBar(tr("Действия"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setIconSize(QSize(18, 18));
    QStyle* look = style();

    QAction* open = bar->addAction(look->standardIcon(QStyle::SP_DialogOpenButton), tr("Открыть…"));
    open->setShortcut(QKeySequence::Open);
    open->setToolTip(tr("Открыть файлы результатов вместо открытых (Ctrl+O)"));
    connect(open, &QAction::triggered, this, [this] {
        const QStringList paths = QFileDialog::getOpenFileNames(this, tr("Открыть файлы результатов"), QString(),
                                                                tr("Файлы результатов (*.txt);;Все файлы (*)"));
        if (!paths.isEmpty()) OpenFiles(paths);
    });
    QAction* folder = bar->addAction(look->standardIcon(QStyle::SP_DirOpenIcon), tr("Открыть папку…"));
    folder->setObjectName(tr("Открыть папку…"));
    folder->setToolTip(tr("Открыть все журналы %1 в папке и вложенных папках (по папке на компьютер); "
                          "новые появятся сами")
                           .arg(QString::fromUtf8(kResultsLogName)));
    connect(folder, &QAction::triggered, this, [this] {
        const QString path = QFileDialog::getExistingDirectory(this, tr("Открыть папку с результатами"));
        if (!path.isEmpty()) OpenFiles({path});
    });
    QAction* add = bar->addAction(look->standardIcon(QStyle::SP_FileDialogNewFolder), tr("Добавить…"));
    add->setToolTip(tr("Добавить файлы результатов к открытым (их можно и перетащить в окно)"));
    connect(add, &QAction::triggered, this, [this] {
        const QStringList paths = QFileDialog::getOpenFileNames(this, tr("Добавить файлы результатов"), QString(),
                                                                tr("Файлы результатов (*.txt);;Все файлы (*)"));
        if (!paths.isEmpty()) AddFiles(paths);
    });
    bar->addSeparator();
    const auto addExport = [&](const QString& text, const QString& tip, Format format) {
        QAction* action = bar->addAction(look->standardIcon(QStyle::SP_DialogSaveButton), text);
        action->setToolTip(tip);
        action->setObjectName(text);
        connect(action, &QAction::triggered, this, [this, format] { Export(format); });
    };
    addExport(tr("CSV…"), tr("Сохранить показанные строки в CSV для электронной таблицы"), Format::Csv);
    addExport(tr("XLSX…"), tr("Сохранить показанные строки и сводку в книгу Excel"), Format::Xlsx);
    addExport(tr("PDF…"), tr("Сохранить таблицу и сводку в PDF для печати"), Format::Pdf);
    QAction* print = bar->addAction(look->standardIcon(QStyle::SP_FileDialogDetailedView), tr("Печать…"));
    print->setObjectName(tr("Печать…"));
    print->setShortcut(QKeySequence::Print);
    print->setToolTip(tr("Напечатать сводку и показанные строки, а на вкладке «Вопросы» её таблицу (Ctrl+P)"));
    connect(print, &QAction::triggered, this, &ResultsWindow::Print);
    bar->addSeparator();
    QAction* chart = bar->addAction(look->standardIcon(QStyle::SP_FileDialogContentsView), tr("Диаграмма в PNG…"));
    chart->setObjectName(tr("Диаграмма в PNG…"));
    connect(chart, &QAction::triggered, this, &ResultsWindow::SaveChart);
}

QWidget* ResultsWindow::BuildFilterBar() {
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);

    // Each choice is as wide as its longest item where there is room, and
    // narrows on a small screen rather than widen the window past it.
    const auto fitted = [this](QComboBox* choice) {
        choice->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        choice->setMinimumWidth(fontMetrics().averageCharWidth() * 10);
    };
    platoonChoice_ = new QComboBox;
    platoonChoice_->setObjectName("platoon");
    fitted(platoonChoice_);
    platoonChoice_->addItem(tr("Все взводы"), QString());
    connect(platoonChoice_, &QComboBox::currentIndexChanged, this, [this] {
        filter_->SetPlatoon(platoonChoice_->currentData().toString());
        SyncItemsFilter();
        ShowSummary();
        UpdateStatus();
    });
    computerChoice_ = new QComboBox;
    computerChoice_->setObjectName("computer");
    fitted(computerChoice_);
    computerChoice_->addItem(tr("Все компьютеры"), QString());
    connect(computerChoice_, &QComboBox::currentIndexChanged, this, [this] {
        filter_->SetComputer(computerChoice_->currentData().toString());
        SyncItemsFilter();
        ShowSummary();
        UpdateStatus();
    });
    search_ = new QLineEdit;
    search_->setPlaceholderText(tr("Поиск по ФИО"));
    search_->setClearButtonEnabled(true);
    search_->setMinimumWidth(120);
    search_->setMaximumWidth(320);
    connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) {
        filter_->SetSearch(text);
        // The summary waits for the typing to pause.
        summaryDelay_.start();
        UpdateStatus();
    });
    countingChoice_ = new QComboBox;
    countingChoice_->setObjectName("counting");
    fitted(countingChoice_);
    countingChoice_->addItem(tr("все попытки"));
    countingChoice_->addItem(tr("последнюю попытку каждого"));
    connect(countingChoice_, &QComboBox::currentIndexChanged, this, &ResultsWindow::ShowSummary);

    row->addWidget(new QLabel(tr("Учебный взвод:")));
    row->addWidget(platoonChoice_);
    row->addSpacing(12);
    // «Все компьютеры» says what it chooses.
    row->addWidget(computerChoice_);
    row->addSpacing(12);
    row->addWidget(search_);
    row->addStretch(1);
    row->addWidget(new QLabel(tr("В сводке считать:")));
    row->addWidget(countingChoice_);
    return bar;
}

void ResultsWindow::OpenFiles(const QStringList& paths) {
    model_->Clear();
    AddFiles(paths);
}

void ResultsWindow::AddFiles(const QStringList& paths) {
    // Name by name, in their order; the folders are followed as they change.
    for (const QString& path : paths) {
        const Naming naming = FilesNamed({path.toStdString()}, Folders::Listed);
        for (const std::filesystem::path& folder : naming.folders) model_->AddFolder(QString::fromStdString(folder));
        for (const NamedFiles& files : naming.files) model_->AddFile(QString::fromStdString(files.log));
    }
    // A folder's logs go by the folder's name.
    const QStringList folders = model_->Folders();
    QStringList names;
    for (const QString& folder : folders) names << QFileInfo(folder).fileName();
    for (const QString& file : model_->Files()) {
        const bool below = std::any_of(folders.begin(), folders.end(),
                                       [&](const QString& folder) { return file.startsWith(folder + '/'); });
        if (!below) names << QFileInfo(file).fileName();
    }
    names.removeDuplicates();
    setWindowTitle(names.isEmpty() ? kTitle : names.join(", ") + " — " + kTitle);
}

void ResultsWindow::dragEnterEvent(QDragEnterEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
    }
}

void ResultsWindow::closeEvent(QCloseEvent* event) {
    QSettings settings(kSettingsOrganization, kSettingsApplication);
    settings.setValue(kGeometryKey, normalGeometry());
    QMainWindow::closeEvent(event);
}

void ResultsWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) paths << url.toLocalFile();
    }
    AddFiles(paths);
    event->acceptProposedAction();
}

void ResultsWindow::ShowUpdate() {
    UpdatePlatoonChoice();
    UpdateComputerChoice();
    ShowRemarks();
    UpdateStatus();
    summaryDelay_.start();
}

Counting ResultsWindow::CurrentCounting() const {
    return countingChoice_->currentIndex() == 1 ? Counting::LastAttempt : Counting::AllAttempts;
}

void ResultsWindow::ShowSummary() {
    summaryDelay_.stop();
    const Summary summary = filter_->ShownSummary(CurrentCounting());
    summaryTable_->setRowCount(static_cast<int>(summary.platoons.size()) + 1);
    const auto showTally = [&](int row, const Tally& tally, bool total) {
        for (int c = 0; c < kSummaryColumnCount; ++c) {
            summaryTable_->setItem(row, c,
                                   Item(FromUtf8(SummaryCellText(tally, static_cast<SummaryColumn>(c))), c > 0, total));
        }
    };
    for (std::size_t i = 0; i < summary.platoons.size(); ++i)
        showTally(static_cast<int>(i), summary.platoons[i], false);
    showTally(static_cast<int>(summary.platoons.size()), summary.overall, true);
    chart_->Show(summary);
}

void ResultsWindow::ShowRemarks() {
    const auto remarks = model_->Remarks();
    remarksTable_->setRowCount(static_cast<int>(remarks.size()));
    for (int i = 0; i < remarks.size(); ++i) {
        remarksTable_->setItem(i, 0, Item(remarks[i].file, false));
        remarksTable_->setItem(i, 1, Item(remarks[i].line > 0 ? QString::number(remarks[i].line) : "—", true));
        remarksTable_->setItem(i, 2, Item(remarks[i].text, false));
    }
    tabs_->setTabText(2, remarks.isEmpty() ? tr("Замечания") : tr("Замечания (%1)").arg(remarks.size()));
}

void ResultsWindow::UpdatePlatoonChoice() {
    // Every platoon of the logs, whatever the current filter shows.
    const QStringList platoons = model_->Platoons();
    QStringList shown;
    for (int i = 1; i < platoonChoice_->count(); ++i) shown << platoonChoice_->itemData(i).toString();
    if (platoons == shown) return;

    const QString chosen = platoonChoice_->currentData().toString();
    const QSignalBlocker quiet(platoonChoice_);
    while (platoonChoice_->count() > 1) platoonChoice_->removeItem(1);
    for (const QString& platoon : platoons) platoonChoice_->addItem(platoon.trimmed(), platoon);
    const int keep = platoonChoice_->findData(chosen);
    platoonChoice_->setCurrentIndex(keep < 0 ? 0 : keep);
    if (keep < 0) filter_->SetPlatoon({});
    SyncItemsFilter();
}

void ResultsWindow::UpdateComputerChoice() {
    const QStringList computers = model_->Computers();
    QStringList shown;
    for (int i = 1; i < computerChoice_->count(); ++i) shown << computerChoice_->itemData(i).toString();
    if (computers == shown) return;

    const QString chosen = computerChoice_->currentData().toString();
    const QSignalBlocker quiet(computerChoice_);
    while (computerChoice_->count() > 1) computerChoice_->removeItem(1);
    for (const QString& computer : computers) computerChoice_->addItem(computer, computer);
    const int keep = computerChoice_->findData(chosen);
    computerChoice_->setCurrentIndex(keep < 0 ? 0 : keep);
    if (keep < 0) filter_->SetComputer({});
    SyncItemsFilter();
}

void ResultsWindow::SyncItemsFilter() {
    items_->SetFilter(platoonChoice_->currentData().toString(), computerChoice_->currentData().toString());
}

void ResultsWindow::UpdateStatus() {
    // A file that cannot be read or holds no results is said where the
    // table would be, not only in a tab.
    const QStringList problems = model_->FileProblems();
    const bool noticed = model_->rowCount() == 0 && !problems.isEmpty();
    notice_->setText(problems.join("\n\n"));
    tableOrNotice_->setCurrentWidget(noticed ? static_cast<QWidget*>(notice_) : table_);
    if (model_->Files().isEmpty()) {
        status_->setText(tr("Откройте файл результатов (Ctrl+O) или перетащите его в окно."));
        return;
    }
    int finished = 0;
    int running = 0;
    for (int row = 0; row < filter_->rowCount(); ++row) {
        const int sourceRow = filter_->mapToSource(filter_->index(row, 0)).row();
        if (model_->AttemptAt(sourceRow).Finished()) {
            ++finished;
        } else if (model_->Running(sourceRow)) {
            ++running;
        }
    }
    const int shown = filter_->rowCount();
    // Said first: it explains an empty table.
    const QStringList notResults = model_->NotResultsMessages();
    const QString answering = running > 0 ? tr(" · идет тест: %1").arg(running) : QString();
    status_->setText((notResults.isEmpty() ? QString() : notResults.join(" · ") + " · ") +
                     tr("Показано попыток: %1 из %2 · завершено: %3%4 · не завершено: %5 · файлов: %6 · обновлено в %7")
                         .arg(shown)
                         .arg(model_->rowCount())
                         .arg(finished)
                         .arg(answering)
                         .arg(shown - finished - running)
                         .arg(model_->Files().size())
                         .arg(QTime::currentTime().toString("hh:mm:ss")));
    status_->setToolTip(status_->text());
}

QString ResultsWindow::SuggestedPath(const QString& extension) const {
    const QStringList files = model_->Files();
    const QFileInfo first(files.isEmpty() ? QString::fromUtf8(kResultsLogName) : files.first());
    const QString name = first.completeBaseName() + "-" + QDate::currentDate().toString("yyyy-MM-dd") + "." + extension;
    return files.isEmpty() ? name : first.absoluteDir().filePath(name);
}

QString ResultsWindow::SavePath(const QString& title, const QString& extension, const QString& filter) {
    const QString suggested = SuggestedPath(extension);
    if (chooseSavePath_) return chooseSavePath_(title, suggested, filter);
    return QFileDialog::getSaveFileName(this, title, suggested, filter);
}

void ResultsWindow::Export(Format format) {
    static const struct {
        const char* extension;
        const char* filter;
    } kFormats[] = {{"csv", "CSV (*.csv)"}, {"xlsx", "Книга Excel (*.xlsx)"}, {"pdf", "PDF (*.pdf)"}};
    const auto& chosen = kFormats[static_cast<int>(format)];
    const QString path = SavePath(tr("Сохранить результаты"), chosen.extension, QString::fromUtf8(chosen.filter));
    if (path.isEmpty()) return;

    const Counting counting = CurrentCounting();
    const ExportData data = filter_->Shown(counting);
    std::optional<std::string> error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (format == Format::Csv) {
        error = WriteCsv(path.toStdString(), data);
    } else if (format == Format::Xlsx) {
        error = WriteXlsx(path.toStdString(), data);
    } else {
        error = WritePdf(path.toStdString(), data, PdfTitle(model_->Files()), SummaryTitle(counting));
    }
    QApplication::restoreOverrideCursor();
    if (error) {
        ShowError(FromUtf8(*error));
    } else {
        statusBar()->showMessage(tr("Сохранено: %1").arg(path), 5000);
    }
}

void ResultsWindow::ExportItems(const QString& extension) {
    const QString filter = extension == "csv"    ? "CSV (*.csv)"
                           : extension == "xlsx" ? tr("Книга Excel (*.xlsx)")
                                                 : "PDF (*.pdf)";
    const QString path = SavePath(tr("Сохранить таблицу вопросов"), extension, filter);
    if (path.isEmpty()) return;
    const Grid& grid = items_->ShownGrid();
    std::optional<std::string> error;
    if (extension == "csv") {
        error = WriteCsv(path.toStdString(), grid);
    } else if (extension == "xlsx") {
        error = WriteXlsx(path.toStdString(), grid, "Вопросы");
    } else {
        error =
            WritePdf(path.toStdString(), grid, items_->Title(), [&](std::size_t row) { return IsKeyRow(grid, row); });
    }
    if (error) {
        ShowError(FromUtf8(*error));
    } else {
        statusBar()->showMessage(tr("Сохранено: %1").arg(path), 5000);
    }
}

void ResultsWindow::SaveChart() {
    const QString path = SavePath(tr("Сохранить диаграмму"), "png", tr("Рисунок PNG (*.png)"));
    if (path.isEmpty()) return;
    // The chart draws at its shown size.
    tabs_->setCurrentWidget(chart_);
    ShowSummary();
    if (!chart_->SavePng(path)) ShowError(tr("Не удалось записать «%1»").arg(path));
}

void ResultsWindow::Print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 10, 12, 10),
                                      QPageLayout::Millimeter));
    printer.setDocName(PdfTitle(model_->Files()));
    if (setUpPrinter_) {
        if (!setUpPrinter_(printer)) return;
    } else {
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() != QDialog::Accepted) return;
    }
    const Counting counting = CurrentCounting();
    QPainter painter;
    if (!painter.begin(&printer)) {
        ShowError(tr("Не удалось начать печать на «%1»").arg(printer.printerName()));
        return;
    }
    if (tabs_->currentWidget() == items_) {
        const Grid& grid = items_->ShownGrid();
        PaintGrid(printer, painter, grid, items_->Title(), [&](std::size_t row) { return IsKeyRow(grid, row); });
    } else {
        PaintResults(printer, painter, filter_->Shown(counting), PdfTitle(model_->Files()), SummaryTitle(counting));
    }
    painter.end();
}

void ResultsWindow::ShowError(const QString& text) { QMessageBox::warning(this, kTitle, text); }

}  // namespace viewer
