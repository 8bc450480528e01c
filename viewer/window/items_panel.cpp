#include "viewer/window/items_panel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cstdio>

#include "viewer/core/compiled_bank.h"
#include "viewer/core/item_table.h"
#include "viewer/model/results_model.h"
#include "viewer/window/read_only_table.h"

namespace viewer {

namespace {

// Waits this long after the records change, so a class's appends cost one analysis.
constexpr int kAnalysisDelayMilliseconds = 300;

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Hex(std::uint32_t bank) { return QString("%1").arg(bank, 8, 16, QChar('0')); }

}  // namespace

ItemsPanel::ItemsPanel(const ResultsModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    bankChoice_ = new QComboBox;
    bankChoice_->setObjectName("itemsBank");
    bankLabel_ = new QLabel(tr("Банк вопросов:"));
    themeChoice_ = new QComboBox;
    themeChoice_->setObjectName("itemsTheme");
    themeChoice_->setMinimumContentsLength(8);
    scoringChoice_ = new QComboBox;
    scoringChoice_->setObjectName("itemsScoring");
    scoringChoice_->addItem(tr("первая попытка каждого"));
    scoringChoice_->addItem(tr("все попытки"));
    title_ = new QLabel;
    title_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addWidget(new QLabel(tr("Тема:")));
    bar->addWidget(themeChoice_);
    bar->addWidget(bankLabel_);
    bar->addWidget(bankChoice_);
    bar->addSpacing(12);
    bar->addWidget(new QLabel(tr("Считать:")));
    bar->addWidget(scoringChoice_);
    bar->addStretch(1);
    for (const char* extension : {"csv", "xlsx", "pdf"}) {
        auto* button = new QPushButton(QString(extension).toUpper() + "…");
        button->setObjectName(QString("items-") + extension);
        button->setToolTip(tr("Сохранить показанную таблицу вопросов"));
        connect(button, &QPushButton::clicked, this, [this, extension] { emit ExportAsked(extension); });
        bar->addWidget(button);
    }

    table_ = MakeReadOnlyTable({}, this);
    table_->setObjectName("items");
    table_->setAlternatingRowColors(false);
    table_->horizontalHeader()->setStretchLastSection(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addLayout(bar);
    layout->addWidget(title_);
    layout->addWidget(table_, 1);

    delay_.setSingleShot(true);
    delay_.setInterval(kAnalysisDelayMilliseconds);
    connect(&delay_, &QTimer::timeout, this, [this] {
        if (isVisible()) Analyze();
    });
    connect(&model_, &ResultsModel::RecordsUpdated, this, [this] {
        stale_ = true;
        delay_.start();
    });
    connect(scoringChoice_, &QComboBox::currentIndexChanged, this, &ItemsPanel::Analyze);
    connect(themeChoice_, &QComboBox::currentIndexChanged, this, &ItemsPanel::ShowGrid);
    connect(bankChoice_, &QComboBox::currentIndexChanged, this, &ItemsPanel::ShowGrid);
    UpdateChoices();
}

void ItemsPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) Analyze();
}

Scoring ItemsPanel::CurrentScoring() const {
    return scoringChoice_->currentIndex() == 1 ? Scoring::AllAttempts : Scoring::FirstAttempt;
}

QString ItemsPanel::Title() const { return FromUtf8(ItemsTitle(CurrentScoring())); }

void ItemsPanel::Analyze() {
    delay_.stop();
    stale_ = false;
    analysis_ = AnalyzeItems(model_.Records(), CurrentScoring(), CompiledBankLookup());
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
    ItemAnalysis chosen;
    for (const ThemeAnalysis& each : analysis_.themes) {
        if (QVariant(each.bank) == bankChoice_->currentData() && QVariant(each.theme) == themeChoice_->currentData())
            chosen.themes.push_back(each);
    }
    shown_ = ItemGrid(chosen);
    title_->setText(chosen.themes.empty() ? tr("Записей ответов с законченными тестами нет.") : Title());

    table_->clear();
    table_->setColumnCount(static_cast<int>(shown_.titles.size()));
    QStringList titles;
    for (const std::string& title : shown_.titles) titles << FromUtf8(title);
    table_->setHorizontalHeaderLabels(titles);
    table_->setRowCount(static_cast<int>(shown_.rows.size()));
    const QFontMetrics metrics = table_->fontMetrics();
    for (std::size_t c = 0; c < shown_.widths.size(); ++c) {
        table_->setColumnWidth(static_cast<int>(c),
                               static_cast<int>(std::min(shown_.widths[c], 40.0) * metrics.averageCharWidth()) + 12);
    }
    // The bank and theme are chosen above.
    table_->setColumnHidden(static_cast<int>(ItemColumn::Bank), true);
    table_->setColumnHidden(static_cast<int>(ItemColumn::Theme), true);
    for (std::size_t r = 0; r < shown_.rows.size(); ++r) {
        const bool heading = r < shown_.headings.size() && shown_.headings[r];
        const bool key = shown_.rows[r][static_cast<int>(ItemColumn::Question)].text.ends_with("(верный)");
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
            if (c == static_cast<std::size_t>(ItemColumn::Text)) item->setToolTip(item->text());
            table_->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
}

}  // namespace viewer
