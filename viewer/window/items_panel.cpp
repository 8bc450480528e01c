#include "viewer/window/items_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimeZone>
#include <QVBoxLayout>

#include "viewer/core/analysis/compiled_bank.h"
#include "viewer/core/analysis/item_table.h"
#include "viewer/core/analysis/summary.h"
#include "viewer/model/results_model.h"
#include "viewer/window/read_only_table.h"

namespace viewer {

namespace {

// Waits this long after the records change, so a class's appends cost one analysis.
constexpr int kAnalysisDelayMilliseconds = 300;
// The facility, discrimination and flags come first, where a small screen
// shows them; then the wording, wrapped.
constexpr ItemColumn kShownFirst[] = {ItemColumn::Question,       ItemColumn::Attempts, ItemColumn::Facility,
                                      ItemColumn::Discrimination, ItemColumn::Notes,    ItemColumn::Text};
// Widths in average characters in the window.
constexpr int kQuestionChars = 22;
constexpr int kNotesChars = 34;
constexpr int kTextChars = 46;

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Hex(std::uint32_t bank) { return QString("%1").arg(bank, 8, 16, QChar('0')); }

}  // namespace

ItemsPanel::ItemsPanel(const ResultsModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    bankChoice_ = new QComboBox;
    bankChoice_->setObjectName("itemsBank");
    bankLabel_ = new QLabel(tr("Банк:"));
    themeChoice_ = new QComboBox;
    themeChoice_->setObjectName("itemsTheme");
    themeChoice_->setMinimumContentsLength(3);
    scoringChoice_ = new QComboBox;
    scoringChoice_->setObjectName("itemsScoring");
    scoringChoice_->addItem(tr("первая попытка каждого"));
    scoringChoice_->addItem(tr("все попытки"));
    viewChoice_ = new QComboBox;
    viewChoice_->setObjectName("itemsView");
    viewChoice_->addItem(tr("анализ вопросов"));
    viewChoice_->addItem(tr("легкость по взводам"));
    termChoice_ = new QCheckBox(tr("Период с"));
    termChoice_->setObjectName("itemsTerm");
    termChoice_->setToolTip(tr("Только тесты, законченные в эти дни (например, за семестр)"));
    from_ = new QDateEdit(QDate(QDate::currentDate().year(), 1, 1));
    from_->setObjectName("itemsFrom");
    to_ = new QDateEdit(QDate::currentDate());
    to_->setObjectName("itemsTo");
    for (QDateEdit* date : {from_, to_}) {
        date->setCalendarPopup(true);
        date->setDisplayFormat("dd.MM.yyyy");
        date->setEnabled(false);
    }
    title_ = new QLabel;
    title_->setObjectName("itemsCounts");
    title_->setWordWrap(true);
    title_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    // Two rows, so that a small screen keeps every choice whole.
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addWidget(new QLabel(tr("Тема:")));
    bar->addWidget(themeChoice_);
    bar->addWidget(bankLabel_);
    bar->addWidget(bankChoice_);
    bar->addWidget(scoringChoice_);
    bar->addWidget(viewChoice_);
    bar->addStretch(1);
    auto* term = new QHBoxLayout;
    term->setContentsMargins(0, 0, 0, 0);
    term->addWidget(termChoice_);
    term->addWidget(from_);
    term->addWidget(new QLabel(tr("по")));
    term->addWidget(to_);
    term->addStretch(1);
    for (const char* extension : {"csv", "xlsx", "pdf"}) {
        auto* button = new QPushButton(QString(extension).toUpper() + "…");
        button->setObjectName(QString("items-") + extension);
        button->setToolTip(tr("Сохранить показанную таблицу вопросов"));
        connect(button, &QPushButton::clicked, this, [this, extension] { emit ExportAsked(extension); });
        term->addWidget(button);
    }

    table_ = MakeReadOnlyTable({}, this);
    table_->setObjectName("items");
    table_->setAlternatingRowColors(false);
    table_->setWordWrap(true);
    table_->horizontalHeader()->setStretchLastSection(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(bar);
    layout->addLayout(term);
    layout->addWidget(title_);
    layout->addWidget(table_, 1);

    delay_.setSingleShot(true);
    delay_.setInterval(kAnalysisDelayMilliseconds);
    connect(&delay_, &QTimer::timeout, this, [this] {
        if (isVisible()) Analyze();
    });
    connect(&model_, &ResultsModel::RecordsUpdated, this, [this] {
        stale_ = true;
        // Files just opened are shown as soon as the opening is done; later
        // appends wait for the burst to end.
        delay_.start(analysis_.themes.empty() ? 0 : kAnalysisDelayMilliseconds);
    });
    connect(scoringChoice_, &QComboBox::currentIndexChanged, this, &ItemsPanel::Analyze);
    connect(themeChoice_, &QComboBox::currentIndexChanged, this, &ItemsPanel::ShowGrid);
    connect(bankChoice_, &QComboBox::currentIndexChanged, this, &ItemsPanel::ShowGrid);
    connect(viewChoice_, &QComboBox::currentIndexChanged, this, &ItemsPanel::ShowGrid);
    connect(termChoice_, &QCheckBox::toggled, this, [this](bool on) {
        from_->setEnabled(on);
        to_->setEnabled(on);
        Analyze();
    });
    connect(from_, &QDateEdit::dateChanged, this, &ItemsPanel::Analyze);
    connect(to_, &QDateEdit::dateChanged, this, &ItemsPanel::Analyze);
    UpdateChoices();
}

void ItemsPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) Analyze();
}

void ItemsPanel::SetFilter(const QString& platoon, const QString& computer) {
    if (platoon == platoon_ && computer == computer_) return;
    platoon_ = platoon;
    computer_ = computer;
    stale_ = true;
    if (isVisible()) Analyze();
}

void ItemsPanel::SetTerm(const QDate& from, const QDate& to) {
    const QSignalBlocker quietFrom(from_);
    const QSignalBlocker quietTo(to_);
    const QSignalBlocker quietTerm(termChoice_);
    termChoice_->setChecked(from.isValid() || to.isValid());
    from_->setEnabled(termChoice_->isChecked());
    to_->setEnabled(termChoice_->isChecked());
    from_->setDate(from.isValid() ? from : from_->minimumDate());
    to_->setDate(to.isValid() ? to : to_->maximumDate());
    stale_ = true;
    if (isVisible()) Analyze();
}

Scoring ItemsPanel::CurrentScoring() const {
    return scoringChoice_->currentIndex() == 1 ? Scoring::AllAttempts : Scoring::FirstAttempt;
}

ItemSelection ItemsPanel::CurrentSelection() const {
    ItemSelection selection;
    if (!platoon_.isEmpty()) selection.platoon = PlatoonKey(platoon_.toStdString());
    if (!computer_.isEmpty()) {
        for (const QString& computer : model_.RecordComputers()) selection.records.push_back(computer == computer_);
    }
    if (termChoice_->isChecked()) {
        // The days as the instructor's clock has them.
        selection.from = from_->date().startOfDay().toSecsSinceEpoch();
        selection.to = to_->date().endOfDay().toSecsSinceEpoch();
    }
    return selection;
}

QString ItemsPanel::Title() const {
    QString title = FromUtf8(ItemsTitle(CurrentScoring()));
    QStringList chosen;
    if (!platoon_.isEmpty()) chosen << tr("взвод %1").arg(platoon_.trimmed());
    if (!computer_.isEmpty()) chosen << tr("компьютер %1").arg(computer_);
    if (termChoice_->isChecked())
        chosen << tr("с %1 по %2").arg(from_->date().toString("dd.MM.yyyy"), to_->date().toString("dd.MM.yyyy"));
    if (const ThemeAnalysis* theme = ShownTheme()) chosen.prepend(tr("тема %1").arg(theme->theme));
    return chosen.isEmpty() ? title : title + "; " + chosen.join(", ");
}

QString ItemsPanel::Counts() const {
    const ThemeAnalysis* theme = ShownTheme();
    QString counts = tr("Анализируется законченных тестов: %1 из %2").arg(analysis_.selected).arg(analysis_.finished);
    QStringList why;
    if (!platoon_.isEmpty()) why << tr("взвод %1").arg(platoon_.trimmed());
    if (!computer_.isEmpty()) why << tr("компьютер %1").arg(computer_);
    if (termChoice_->isChecked())
        why << tr("с %1 по %2").arg(from_->date().toString("dd.MM.yyyy"), to_->date().toString("dd.MM.yyyy"));
    if (!why.isEmpty()) counts += " (" + why.join(", ") + ")";
    if (theme != nullptr) {
        counts += tr("; тема %1: попыток %2").arg(theme->theme).arg(theme->attempts);
        if (CurrentScoring() == Scoring::FirstAttempt) counts += tr(" (первая каждого студента)");
        if (theme->unfinished > 0) counts += tr(", незаконченных не учтено: %1").arg(theme->unfinished);
    }
    return counts;
}

const ThemeAnalysis* ItemsPanel::ShownTheme() const {
    for (const ThemeAnalysis& each : analysis_.themes) {
        if (QVariant(each.bank) == bankChoice_->currentData() && QVariant(each.theme) == themeChoice_->currentData())
            return &each;
    }
    return nullptr;
}

void ItemsPanel::Analyze() {
    delay_.stop();
    stale_ = false;
    analysis_ = AnalyzeItems(model_.Records(), CurrentScoring(), CompiledBankLookup(), CurrentSelection());
    UpdateChoices();
    ShowGrid();
}

void ItemsPanel::UpdateChoices() {
    // The choices stay where they were while the records grow.
    const QVariant bank = bankChoice_->currentData();
    const QVariant theme = themeChoice_->currentData();
    const QSignalBlocker quietBank(bankChoice_);
    const QSignalBlocker quietTheme(themeChoice_);
    bankChoice_->clear();
    themeChoice_->clear();
    for (const ThemeAnalysis& each : analysis_.themes) {
        if (bankChoice_->findData(each.bank) < 0) bankChoice_->addItem(Hex(each.bank), each.bank);
        if (themeChoice_->findData(each.theme) < 0) themeChoice_->addItem(QString::number(each.theme), each.theme);
    }
    bankChoice_->setCurrentIndex(std::max(0, bankChoice_->findData(bank)));
    themeChoice_->setCurrentIndex(std::max(0, themeChoice_->findData(theme)));
    // A fingerprint says something only when there is more than one.
    bankLabel_->setVisible(bankChoice_->count() > 1);
    bankChoice_->setVisible(bankChoice_->count() > 1);
}

void ItemsPanel::ShowGrid() {
    const ThemeAnalysis* theme = ShownTheme();
    if (viewChoice_->currentIndex() == 1) {
        shown_ = theme != nullptr ? PlatoonFacilityGrid(*theme) : Grid{};
    } else {
        ItemAnalysis chosen;
        if (theme != nullptr) chosen.themes.push_back(*theme);
        shown_ = ItemGrid(chosen);
    }
    title_->setText(theme == nullptr && analysis_.selected == 0 && analysis_.finished == 0
                        ? tr("Записей ответов с законченными тестами нет.")
                        : Counts());
    FillTable();
    emit Analyzed();
}

void ItemsPanel::FillTable() {
    const bool items = viewChoice_->currentIndex() == 0;
    table_->setUpdatesEnabled(false);
    table_->clear();
    table_->setColumnCount(static_cast<int>(shown_.titles.size()));
    QStringList titles;
    for (const std::string& title : shown_.titles) titles << FromUtf8(title);
    table_->setHorizontalHeaderLabels(titles);
    table_->setRowCount(static_cast<int>(shown_.rows.size()));
    const int character = table_->fontMetrics().averageCharWidth();
    for (std::size_t c = 0; c < shown_.widths.size(); ++c) {
        table_->setColumnWidth(static_cast<int>(c),
                               static_cast<int>(std::min(shown_.widths[c], 12.0) * character) + 12);
        table_->setColumnHidden(static_cast<int>(c), false);
    }
    QHeaderView* header = table_->horizontalHeader();
    if (items) {
        table_->setColumnWidth(static_cast<int>(ItemColumn::Question), kQuestionChars * character);
        table_->setColumnWidth(static_cast<int>(ItemColumn::Notes), kNotesChars * character);
        table_->setColumnWidth(static_cast<int>(ItemColumn::Text), kTextChars * character);
        table_->setColumnWidth(static_cast<int>(ItemColumn::Source), 26 * character);
        // The bank and theme are chosen above.
        table_->setColumnHidden(static_cast<int>(ItemColumn::Bank), true);
        table_->setColumnHidden(static_cast<int>(ItemColumn::Theme), true);
        for (int place = 0; place < static_cast<int>(std::size(kShownFirst)); ++place) {
            header->moveSection(header->visualIndex(static_cast<int>(kShownFirst[place])), place + 2);
        }
    } else {
        for (int c = 0; c < header->count(); ++c) header->moveSection(header->visualIndex(c), c);
    }
    for (std::size_t r = 0; r < shown_.rows.size(); ++r) {
        const bool heading = r < shown_.headings.size() && shown_.headings[r];
        const bool key = items && IsKeyRow(shown_, r);
        for (std::size_t c = 0; c < shown_.rows[r].size(); ++c) {
            const GridCell& cell = shown_.rows[r][c];
            auto* item = new QTableWidgetItem(FromUtf8(cell.text));
            item->setTextAlignment((cell.number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            if (heading || key) {
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
            }
            if (heading) item->setBackground(QColor(0xDD, 0xE4, 0xEE));
            if (key) item->setForeground(QColor(0x1E, 0x6B, 0x2A));
            table_->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    // The wording and the flags whole, on as many lines as they take.
    table_->resizeRowsToContents();
    table_->setUpdatesEnabled(true);
}

}  // namespace viewer
