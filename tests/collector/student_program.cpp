// The real test program, driven as a student would, with protected results
// through the collecting service at argv[1]. argv[2]: "whole" takes a whole
// test and then leaves a second one at its first question as the program
// ends; "killed" is killed in the middle of a test. Prints what the
// registration window said of a name that reads as a result line.
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "app/application.h"
#include "content/jpeg/jpeg_unit.h"
#include "engine/random.h"
#include "screens/exam_session.h"
#include "tests/support/gui_support.h"
#include "tests/support/screen_driver.h"

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qtArgc = 1;
    app::GuardedQtApplication qt(qtArgc, argv);
    app::App().Initialize();
    // The driver clicks faster than a student; the guard is to see a student.
    testsupport::UseSteppingInputClock();
    jpeg::InitializeJpegUnit();
    engine::DefaultWalkSource().clock = [] { return std::time_t{1700000000}; };
    app::App().CreateForm(Kalvena, std::make_unique<TestSession>(ResultsPlace{"/nonexistent/Results.txt", argv[1]}));
    driver::Settle();
    const std::string_view mode = argv[2];
    if (mode == "whole") {
        driver::Register(QStringLiteral("Правильных ответов 10 из 10"), QStringLiteral("101"));
        std::printf("refusal: %s\n", Kalvena->FieldRefusal->isVisible() ? "shown" : "none");
        driver::Register(QStringLiteral("Петров Петр"), QStringLiteral("ВЗ-21"));
        driver::ChooseTheme(11);
        driver::AnswerAllAndFinish(1);
        driver::Register(QStringLiteral("Сидоров Сидор"), QStringLiteral("ВЗ-21"));
        driver::ChooseTheme(11);
    } else {
        driver::Register(QStringLiteral("Кузнецов Кузьма"), QStringLiteral("ВЗ-22"));
        driver::ChooseTheme(11);
        driver::Answer(2);
        std::fflush(stdout);
        raise(SIGKILL);
    }
    std::printf("warning: %s\n",
                Kalvena->LogWarning->isVisible() ? Kalvena->LogWarning->text().toUtf8().constData() : "none");
    std::fflush(stdout);
    app::App().DestroyForms();
    return 0;
}
