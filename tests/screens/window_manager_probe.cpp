// window_manager_probe: a question window on the real window system, for
// the window manager test. Prints "shown <window id>" once the window
// manager has maximised the window; then the line "restore" on standard
// input restores it, and the end of standard input ends the probe.
#include <unistd.h>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <cstdio>
#include <functional>

#include "app/application.h"
#include "content/jpeg/jpeg_unit.h"
#include "screens/Cap.h"
#include "screens/question_window.h"

namespace {

bool WaitFor(const std::function<bool()>& condition) {
    // Generous: the window manager may be slow on a loaded machine.
    QDeadlineTimer deadline(60000);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    app::GuardedQtApplication qt(argc, argv);
    app::App().Initialize();
    jpeg::InitializeJpegUnit();
    app::App().CreateForm(Kalvena);
    Kalvena->QuestionOrdinal = 1;
    const engine::QuestionId id{5, 15};
    TQuestionWindow* window = app::App().CreateForm(QuestionWindowReference(id), id);
    Kalvena->Hide();

    if (!WaitFor([&] { return window->frameGeometry() == app::App().WorkArea(); })) {
        std::fprintf(stderr, "the window manager did not maximise the window\n");
        return 1;
    }
    // The next window opens at the size the manager gave this one, once
    // framed: laid out and painted once, not again as the manager fits it in.
    if (!WaitFor([&] {
            return window->frameGeometry() == app::App().WorkArea() && window->frameGeometry() != window->geometry();
        })) {
        std::fprintf(stderr, "the window manager did not frame the window\n");
        return 1;
    }
    const engine::QuestionId nextId{5, 16};
    TQuestionWindow* next = app::App().CreateForm(QuestionWindowReference(nextId), nextId);
    if (next->geometry() != window->geometry()) {
        std::fprintf(stderr, "the next window opened at %dx%d, not at the %dx%d given to the one before\n",
                     next->width(), next->height(), window->width(), window->height());
        return 1;
    }
    next->Hide();
    std::printf("shown 0x%llx\n", static_cast<unsigned long long>(window->winId()));
    std::fflush(stdout);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char line[64];
        const ssize_t count = read(STDIN_FILENO, line, sizeof line);
        if (count <= 0) {
            input.setEnabled(false);
            QCoreApplication::quit();
        } else if (std::string_view(line, static_cast<std::size_t>(count)).starts_with("restore")) {
            window->showNormal();
        }
    });
    QCoreApplication::exec();
    app::App().DestroyForms();
    return 0;
}
