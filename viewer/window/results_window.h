#pragma once

#include <QMainWindow>
#include <QTimer>

#include <functional>

#include "viewer/core/analysis/summary.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QPrinter;
class QTabWidget;
class QTableView;
class QTableWidget;

namespace viewer {

class GradeChart;
class ItemsPanel;
class ResultsFilter;
class ResultsModel;

// The instructor's window: the attempts of the open logs as a live table
// with a platoon filter, a computer filter and a name search, the summary, the grade chart and
// the remarks on lines that could not be read, and the item analysis of the
// questions; exports to CSV, XLSX and PDF, and prints.
class ResultsWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit ResultsWindow(QWidget* parent = nullptr);

    // Files and folders (every results log below, followed as it grows).
    void OpenFiles(const QStringList& paths);  // in place of those open
    void AddFiles(const QStringList& paths);

    // Asks where to save (title, suggested path, filter); an empty answer
    // cancels. A file dialog unless replaced, as tests do.
    using SavePathChooser = std::function<QString(const QString&, const QString&, const QString&)>;
    void SetSavePathChooser(SavePathChooser chooser) { chooseSavePath_ = std::move(chooser); }

    // Lets the instructor set up the printer; false cancels. Qt's print
    // dialog unless replaced, as tests do.
    using PrinterSetup = std::function<bool(QPrinter&)>;
    void SetPrinterSetup(PrinterSetup setup) { setUpPrinter_ = std::move(setup); }

    ResultsModel& Model() { return *model_; }
    ResultsFilter& Filter() { return *filter_; }
    QTableView& Table() { return *table_; }
    QTabWidget& Tabs() { return *tabs_; }
    ItemsPanel& Items() { return *items_; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Where the window was, for the next run.
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Format { Csv, Xlsx, Pdf };

    void BuildActions();
    QWidget* BuildFilterBar();
    void ShowUpdate();
    void ShowSummary();
    void ShowRemarks();
    void UpdatePlatoonChoice();
    void UpdateComputerChoice();
    void UpdateStatus();
    void SyncItemsFilter();
    void Export(Format format);
    void ExportItems(const QString& extension);
    void SaveChart();
    void Print();
    QString SuggestedPath(const QString& extension) const;
    QString SavePath(const QString& title, const QString& extension, const QString& filter);
    Counting CurrentCounting() const;
    void ShowError(const QString& text);

    ResultsModel* model_;
    ResultsFilter* filter_;
    QTableView* table_;
    QLabel* notice_;  // stands in the table's place while it has nothing to show
    QStackedWidget* tableOrNotice_;
    QComboBox* platoonChoice_;
    QComboBox* computerChoice_;
    QLineEdit* search_;
    QComboBox* countingChoice_;
    QTabWidget* tabs_;
    QTableWidget* summaryTable_;
    GradeChart* chart_;
    QTableWidget* remarksTable_;
    ItemsPanel* items_;
    QLabel* status_;
    double resultsShare_ = 0;  // of the split's height, while the questions' tab has it
    QTimer summaryDelay_;
    SavePathChooser chooseSavePath_;
    PrinterSetup setUpPrinter_;
};

}  // namespace viewer
