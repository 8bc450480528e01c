#include "viewer/window/grade_chart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QComboBox>
#include <QCoreApplication>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>
#include <vector>

#include "viewer/window/score_histogram.h"

namespace viewer {

namespace {

// Beyond this many platoons, each platoon gets one bar, its grades stacked,
// and its name stands upright under it, so thirty platoons still fit a
// window's width with every name whole.
constexpr qsizetype kSideBySidePlatoons = 8;

struct GradeBar {
    int grade;
    QColor colour;
};

constexpr GradeBar kBars[] = {
    {5, QColor(0x2E, 0x8B, 0x57)},
    {4, QColor(0x3A, 0x78, 0xC2)},
    {3, QColor(0xE0, 0xA1, 0x2B)},
    {2, QColor(0xC8, 0x3C, 0x3C)},
};

}  // namespace

GradeChart::GradeChart(QWidget* parent) : QChartView(parent) {
    setRenderHint(QPainter::Antialiasing);
    chart()->setTitle(tr("Распределение оценок по взводам"));
    chart()->legend()->setAlignment(Qt::AlignRight);
    chart()->setAnimationOptions(QChart::NoAnimation);
    setMinimumHeight(220);
    // Which chart: in the corner, over the chart's margin.
    kind_ = new QComboBox(this);
    kind_->setObjectName("chartKind");
    kind_->addItem(tr("Оценки по взводам"));
    kind_->addItem(tr("Баллы по наборам вопросов"));
    kind_->move(4, 4);
    kind_->adjustSize();
    connect(kind_, &QComboBox::currentIndexChanged, this, [this] {
        Redraw();
        emit ScoresWanted();
    });
}

void GradeChart::Show(const Summary& summary) {
    summary_ = summary;
    if (kind_->currentIndex() == 0) Redraw();
}

void GradeChart::ShowScores(const ThemeAnalysis* theme) {
    scores_.reset();
    if (theme != nullptr) scores_ = *theme;
    if (kind_->currentIndex() == 1) Redraw();
}

bool GradeChart::ShowsScores() const { return kind_->currentIndex() == 1; }

void GradeChart::Redraw() {
    QChart* chart = this->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    if (kind_->currentIndex() == 1) {
        DrawScoreHistogram(*chart, scores_ ? &*scores_ : nullptr);
        return;
    }
    chart->setTitle(tr("Распределение оценок по взводам"));
    const Summary& summary = summary_;
    QStringList platoons;
    for (const Tally& tally : summary.platoons) platoons << QString::fromUtf8(tally.platoon);
    const bool stacked = platoons.size() > kSideBySidePlatoons;
    QAbstractBarSeries* series = stacked ? static_cast<QAbstractBarSeries*>(new QStackedBarSeries) : new QBarSeries;
    std::vector<int> platoonTotals(summary.platoons.size());
    int highest = 0;
    for (const GradeBar& bar : kBars) {
        auto* set = new QBarSet(tr("«%1»").arg(bar.grade));
        set->setColor(bar.colour);
        set->setBorderColor(bar.colour.darker(115));
        for (const Tally& tally : summary.platoons) {
            const int count = tally.gradeCounts[static_cast<std::size_t>(bar.grade)];
            *set << count;
            const std::size_t at = static_cast<std::size_t>(set->count() - 1);
            platoonTotals[at] += count;
            highest = std::max(highest, stacked ? platoonTotals[at] : count);
        }
        series->append(set);
    }
    chart->addSeries(series);
    auto* platoonAxis = new QBarCategoryAxis;
    platoonAxis->append(platoons);
    platoonAxis->setTitleText(tr("Учебный взвод"));
    if (stacked) platoonAxis->setLabelsAngle(-90);
    chart->addAxis(platoonAxis, Qt::AlignBottom);
    series->attachAxis(platoonAxis);
    auto* countAxis = new QValueAxis;
    // Whole numbers of students on the scale.
    const int step = std::max(highest, 1) / 10 + 1;
    const int ticks = (std::max(highest, 1) + step - 1) / step;
    countAxis->setRange(0, ticks * step);
    countAxis->setTickCount(ticks + 1);
    countAxis->setLabelFormat("%d");
    countAxis->setTitleText(tr("Число оценок"));
    chart->addAxis(countAxis, Qt::AlignLeft);
    series->attachAxis(countAxis);
}

bool GradeChart::SavePng(const QString& path) {
    // The chart lays out its axes and legend on posted events.
    QCoreApplication::sendPostedEvents();
    return grab().save(path, "PNG");
}

}  // namespace viewer
