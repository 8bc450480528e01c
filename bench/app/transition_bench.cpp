// From the click on "Перейти к следующему вопросу" to the next question
// window's first painted frame, against creating and showing a bare Qt form
// with the same controls, in one run.
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdio>
#include <cstdlib>

#include "app/application.h"
#include "bench/app/paint_watch.h"
#include "tests/support/screen_driver.h"
#include "tests/support/temp_dir.h"

namespace {

double ElapsedMs(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

double BareFormTransition(PaintWatch& watch, int round) {
    QElapsedTimer timer;
    timer.start();
    auto* form = new QWidget;
    form->setWindowTitle(QStringLiteral("Калвена: вопрос %1").arg(round));
    auto* label = new QLabel(QStringLiteral("Дистанция между ротами и батареями в районе расположения полка"), form);
    label->setWordWrap(true);
    label->setGeometry(189, 0, 422, 46);
    for (int i = 0; i < 4; ++i) {
        (new QRadioButton(QStringLiteral("Вариант ответа %1").arg(i + 1), form))
            ->setGeometry(272, 152 + 64 * i, 300, 25);
    }
    (new QPushButton(QStringLiteral("Перейти к следующему вопросу"), form))->setGeometry(111, 503, 223, 25);
    (new QPushButton(QStringLiteral("Прекратить выполнение теста"), form))->setGeometry(469, 503, 221, 25);
    form->setGeometry(app::App().WorkArea());
    watch.Expect(form);
    form->show();
    watch.WaitForPaint();
    const double ms = ElapsedMs(timer);
    form->deleteLater();
    return ms;
}

double QuestionTransition(PaintWatch& watch) {
    TQuestionWindow* window = driver::QuestionOnScreen();
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(window->Start, Qt::LeftButton);
    watch.Expect(app::App().ActiveForm());
    watch.WaitForPaint();
    return ElapsedMs(timer);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    app::GuardedQtApplication qt(argc, argv);
    app::App().Initialize();
    testsupport::TemporaryWorkingDirectory directory;
    PaintWatch watch;
    driver::StartProgram();

    std::vector<double> program;
    std::vector<double> bare;
    for (int test = 0; test < 30; ++test) {
        driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
        driver::ChooseTheme(test % 13 + 1);
        while (Kalvena->QuestionOrdinal < Kalvena->QuestionsToAsk) {
            program.push_back(QuestionTransition(watch));
            bare.push_back(BareFormTransition(watch, test));
            driver::Settle();
        }
        driver::Answer(0);
        driver::PressOk();
    }
    const double p = Median(program);
    const double b = Median(bare);
    std::printf("question change to first paint, median of %zu changes\n", program.size());
    std::printf("  next question window: %8.3f ms\n", p);
    std::printf("  bare form, same controls: %8.3f ms\n", b);
    std::printf("  ratio: %8.2f (target <= 1.50)\n", p / b);
    app::App().DestroyForms();
    return 0;
}
