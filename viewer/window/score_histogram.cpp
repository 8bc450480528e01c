#include "viewer/window/score_histogram.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QValueAxis>

#include <algorithm>

namespace viewer {

void DrawScoreHistogram(QChart& chart, const ThemeAnalysis* theme) {
    if (theme == nullptr || theme->forms.empty()) {
        chart.setTitle(QObject::tr("Баллы по наборам вопросов: нет законченных тестов"));
        return;
    }
    chart.setTitle(QObject::tr("Сколько верных ответов набрали, тема %1").arg(theme->theme));
    std::size_t most = 0;
    for (const FormAnalysis& form : theme->forms) most = std::max(most, form.scoreCounts.size());
    auto* series = new QBarSeries;
    int highest = 0;
    for (std::size_t f = 0; f < theme->forms.size(); ++f) {
        const FormAnalysis& form = theme->forms[f];
        auto* set = new QBarSet(QObject::tr("набор %1 (%2)").arg(f + 1).arg(form.attempts));
        for (std::size_t score = 0; score < most; ++score) {
            const int count = score < form.scoreCounts.size() ? form.scoreCounts[score] : 0;
            *set << count;
            highest = std::max(highest, count);
        }
        series->append(set);
    }
    chart.addSeries(series);
    QStringList scores;
    for (std::size_t score = 0; score < most; ++score) scores << QString::number(score);
    auto* x = new QBarCategoryAxis;
    x->append(scores);
    x->setTitleText(QObject::tr("верных ответов"));
    chart.addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    auto* y = new QValueAxis;
    y->setRange(0, std::max(1, highest));
    y->setLabelFormat("%d");
    y->setTitleText(QObject::tr("попыток"));
    chart.addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
}

}  // namespace viewer
