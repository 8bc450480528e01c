// Start-up to the first painted frame: the program's registration window
// against a bare Qt program that shows one empty window, as whole processes,
// alternating, in one run.
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "app/application.h"
#include "content/jpeg/jpeg_unit.h"
#include "bench/app/paint_watch.h"
#include "screens/Cap.h"

namespace {

// Child: the program's own start-up, ending at the registration window's
// first paint.
int StartProgram() {
    // The log goes to the temporary folder, not to where the bench runs.
    if (chdir(P_tmpdir) != 0) return 1;
    app::GuardedQtApplication qt;
    app::App().Initialize();
    jpeg::InitializeJpegUnit();
    PaintWatch watch;
    app::App().CreateForm(Kalvena);
    watch.Expect(Kalvena);
    watch.WaitForPaint();
    app::App().DestroyForms();
    return 0;
}

// Child: a bare Qt program with one empty window, or with one line of text
// (which shows what starting the font system costs).
int StartBare(int argc, char** argv, bool withText) {
    QApplication application(argc, argv);
    PaintWatch watch;
    QWidget window;
    window.resize(750, 540);
    if (withText) (new QLabel(QStringLiteral("Калвена"), &window))->setFont(QFont(QStringLiteral("Times New Roman"), 48));
    watch.Expect(&window);
    window.show();
    watch.WaitForPaint();
    return 0;
}

double TimeChild(const char* self, const char* mode) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execl(self, self, mode, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s run failed\n", mode);
        std::exit(1);
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "kalvena") == 0) return StartProgram();
    if (argc > 1 && std::strcmp(argv[1], "bare") == 0) return StartBare(argc, argv, false);
    if (argc > 1 && std::strcmp(argv[1], "bare-text") == 0) return StartBare(argc, argv, true);

    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 30;
    std::vector<double> program;
    std::vector<double> bare;
    std::vector<double> bareText;
    TimeChild(argv[0], "bare");  // warm the file cache
    TimeChild(argv[0], "kalvena");
    for (int i = 0; i < runs; ++i) {
        bare.push_back(TimeChild(argv[0], "bare"));
        bareText.push_back(TimeChild(argv[0], "bare-text"));
        program.push_back(TimeChild(argv[0], "kalvena"));
    }
    const double p = Median(program);
    const double b = Median(bare);
    std::printf("start-up to first paint, median of %d runs (%s platform)\n", runs, std::getenv("QT_QPA_PLATFORM"));
    std::printf("  kalvena registration window: %8.2f ms\n", p);
    std::printf("  bare Qt window:              %8.2f ms\n", b);
    std::printf("  ratio:                       %8.2f (target <= 1.30)\n", p / b);
    std::printf("  bare Qt window with a label: %8.2f ms (ratio %.2f)\n", Median(bareText), p / Median(bareText));
    return 0;
}
