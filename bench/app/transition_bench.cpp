// From the click on "Перейти к следующему вопросу" to the next question
// window's first painted frame, against a bare Qt program that shows a form
// with the same controls in place of the one before, in one run, one change
// of each in turn. The bare program is a child process with a plain
// QApplication, drawing in the same style: it carries nothing that the
// program gives all its windows (an icon, fonts, an input guard), so what the
// program adds to each window counts against it, as a user would see it.
// Beside the time to the first paint, each change counts the processor time
// it took, its own and, under bench/app/under_x.sh, the X server's and the
// window manager's, until its window has settled: a figure that other work
// on the machine hardly moves.
#include <sys/wait.h>
#include <unistd.h>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/application.h"
#include "bench/app/paint_watch.h"
#include "bench/app/processor_time.h"
#include "tests/support/screen_driver.h"
#include "tests/support/temp_dir.h"

namespace {

// Long enough for the X server and the window manager to finish with a
// window once it has painted.
constexpr int kSettleMs = 40;

double ElapsedMs(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

// One question change: to the first paint, and the processor time it took.
struct Change {
    double ms = 0;
    double processorMs = 0;
    double displayMs = 0;  // the X server's and the window manager's share
};

// In the bare program: a form like a question window made and shown over
// `area`, the one before it hidden, as the program hides the question
// answered.
[[gnu::noinline]] double BareFormTransition(PaintWatch& watch, QPointer<QWidget>& shown, const QRect& area, int round) {
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
    form->setGeometry(area);
    watch.Expect(form);
    form->show();
    if (shown != nullptr) shown->hide();
    watch.WaitForPaint();
    const double ms = ElapsedMs(timer);
    if (shown != nullptr) shown->deleteLater();
    shown = form;
    return ms;
}

// Child: the bare program. Reads "left top width height round" lines, shows
// a form for each and answers with the milliseconds it took.
int RunBareProgram(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("Windows"));
    PaintWatch watch;
    QPointer<QWidget> shown;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int round = 0;
    while (std::scanf("%d %d %d %d %d", &left, &top, &width, &height, &round) == 5) {
        const double ms = BareFormTransition(watch, shown, QRect(left, top, width, height), round);
        QTest::qWait(kSettleMs);
        std::printf("%.6f\n", ms);
        std::fflush(stdout);
    }
    delete shown.data();
    return 0;
}

// The parent's end of the bare program.
class BareProgram {
public:
    explicit BareProgram(const char* self) {
        int toChild[2];
        int fromChild[2];
        if (pipe(toChild) != 0 || pipe(fromChild) != 0) std::exit(1);
        child_ = fork();
        if (child_ == 0) {
            dup2(toChild[0], STDIN_FILENO);
            dup2(fromChild[1], STDOUT_FILENO);
            for (const int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1]}) close(fd);
            execl(self, self, "bare", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(toChild[0]);
        close(fromChild[1]);
        to_ = fdopen(toChild[1], "w");
        from_ = fdopen(fromChild[0], "r");
    }
    ~BareProgram() {
        std::fclose(to_);
        std::fclose(from_);
        int status = 0;
        waitpid(child_, &status, 0);
    }
    BareProgram(const BareProgram&) = delete;
    BareProgram& operator=(const BareProgram&) = delete;

    Change Transition(const QRect& area, int round) {
        std::vector<pid_t> working = DisplayProcesses();
        const double displayBefore = ProcessorMs(working);
        working.push_back(child_);
        const double before = ProcessorMs(working);
        std::fprintf(to_, "%d %d %d %d %d\n", area.left(), area.top(), area.width(), area.height(), round);
        std::fflush(to_);
        double ms = 0;
        if (std::fscanf(from_, "%lf", &ms) != 1) {
            std::fprintf(stderr, "the bare program failed\n");
            std::exit(1);
        }
        const double processor = ProcessorMs(working) - before;
        return {ms, processor, ProcessorMs(DisplayProcesses()) - displayBefore};
    }

private:
    pid_t child_ = -1;
    std::FILE* to_ = nullptr;
    std::FILE* from_ = nullptr;
};

[[gnu::noinline]] Change QuestionTransition(PaintWatch& watch) {
    TQuestionWindow* window = driver::QuestionOnScreen();
    std::vector<pid_t> working = DisplayProcesses();
    const double displayBefore = ProcessorMs(working);
    working.push_back(getpid());
    const double before = ProcessorMs(working);
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(window->Start, Qt::LeftButton);
    watch.Expect(app::App().ActiveForm());
    watch.WaitForPaint();
    const double ms = ElapsedMs(timer);
    QTest::qWait(kSettleMs);
    const double processor = ProcessorMs(working) - before;
    return {ms, processor, ProcessorMs(DisplayProcesses()) - displayBefore};
}

void Report(const char* what, const std::vector<Change>& program, const std::vector<Change>& bare,
            double Change::*figure) {
    std::vector<double> programFigures;
    std::vector<double> bareFigures;
    // Each change against the bare one made right after it: steadier than
    // the ratio of the medians when other work loads the machine.
    std::vector<double> pairs;
    for (std::size_t i = 0; i < program.size(); ++i) {
        programFigures.push_back(program[i].*figure);
        bareFigures.push_back(bare[i].*figure);
        pairs.push_back(program[i].*figure / bare[i].*figure);
    }
    const double p = Median(programFigures);
    const double b = Median(bareFigures);
    std::printf("  %s: next question window %.3f ms, bare Qt form %.3f ms\n", what, p, b);
    std::printf("    ratio %.2f (target <= 1.00); median of the changes' own ratios %.2f\n", p / b, Median(pairs));
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (argc > 1 && std::strcmp(argv[1], "bare") == 0) return RunBareProgram(argc, argv);
    const int tests = argc > 1 ? std::atoi(argv[1]) : 30;
    BareProgram bareProgram(argv[0]);
    app::GuardedQtApplication qt(argc, argv);
    app::App().Initialize();
    testsupport::TemporaryWorkingDirectory directory;
    PaintWatch watch;
    driver::StartProgram();

    std::vector<Change> program;
    std::vector<Change> bare;
    for (int test = 0; test < tests; ++test) {
        driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
        driver::ChooseTheme(test % 13 + 1);
        while (Kalvena->QuestionOrdinal < Kalvena->QuestionsToAsk) {
            program.push_back(QuestionTransition(watch));
            bare.push_back(bareProgram.Transition(app::App().WorkArea(), test));
            driver::Settle();
        }
        driver::Answer(0);
        driver::PressOk();
    }
    std::printf("question change, median of %zu changes (%s platform%s)\n", program.size(),
                qPrintable(QGuiApplication::platformName()),
                DisplayProcesses().empty() ? "" : ", with the X server and any window manager");
    Report("to the first paint", program, bare, &Change::ms);
    Report("processor time", program, bare, &Change::processorMs);
    if (!DisplayProcesses().empty())
        Report("of it the X server's and any window manager's", program, bare, &Change::displayMs);
    app::App().DestroyForms();
    return 0;
}
