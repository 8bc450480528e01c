// Start-up to the first painted frame, as whole processes, alternating, in
// one run: the program's registration window against a bare Qt program with
// one empty window and against one with the same controls as the
// registration window. Every child exits right at its first paint, so no
// teardown is timed. Each run also counts the processor time it took: the
// child's own and, under bench/app/under_x.sh, the X server's and the window
// manager's until the window is gone, a figure that other work on the
// machine hardly moves.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

#include "app/application.h"
#include "bench/app/paint_watch.h"
#include "bench/app/processor_time.h"
#include "content/jpeg/jpeg_unit.h"
#include "content/jpeg/registration_photo.h"
#include "screens/Cap.h"

namespace {

// Child: the program's own start-up, ending at the registration window's
// first paint.
int StartProgram() {
    // The log goes to the temporary folder, not to where the bench runs.
    if (chdir(P_tmpdir) != 0) return 1;
    app::GuardedQtApplication qt;
    app::App().Initialize();
    jpeg::JpegUnit jpegUnit;
    PaintWatch watch;
    app::App().CreateForm(Kalvena);
    watch.Expect(Kalvena);
    watch.WaitForPaint();
    std::_Exit(0);
}

// The photograph decoded by Qt on the first paint and drawn stretched.
class PhotoBox : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        if (photo_.isNull()) {
            // The stored form: length byte, class name, 4-byte count, then JPEG.
            const std::span<const unsigned char> stored = jpeg::RegistrationPhotoStoredData();
            const std::span<const unsigned char> bytes = stored.subspan(15);
            photo_ = QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "JPEG");
        }
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), photo_);
    }

private:
    QImage photo_;
};

// Child: a bare Qt program with one empty window, or with the registration
// window's controls: three labels, two edits, two buttons and the photograph
// in a 345 × 236 box; that one also maximised, as the program shows its
// windows, for comparison.
int StartBare(int argc, char** argv, bool sameControls, bool maximised = false) {
    QApplication application(argc, argv);
    PaintWatch watch;
    QWidget window;
    window.resize(750, 540);
    if (sameControls) {
        auto* title = new QLabel(QStringLiteral("Калвена"), &window);
        title->setFont(QFont(QStringLiteral("Times New Roman"), 48));
        title->setGeometry(257, 33, 235, 80);
        (new PhotoBox(&window))->setGeometry(202, 117, 345, 236);
        (new QLabel(QStringLiteral("Фамилия, имя, отчество студента"), &window))->setGeometry(67, 388, 228, 19);
        (new QLabel(QStringLiteral("Учебный взвод"), &window))->setGeometry(190, 426, 105, 19);
        (new QLineEdit(&window))->setGeometry(315, 386, 369, 27);
        (new QLineEdit(&window))->setGeometry(315, 424, 89, 27);
        (new QPushButton(QStringLiteral("Начать выполнение теста"), &window))->setGeometry(219, 505, 188, 25);
        (new QPushButton(QStringLiteral("Выход"), &window))->setGeometry(458, 505, 73, 25);
    }
    watch.Expect(&window);
    if (maximised) {
        window.showMaximized();
    } else {
        window.show();
    }
    watch.WaitForPaint();
    std::_Exit(0);
}

struct Run {
    double ms = 0;
    double processorMs = 0;
};

double Ms(const timeval& time) {
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
}

Run TimeChild(const char* self, const char* mode) {
    const double displayBefore = ProcessorMs(DisplayProcesses());
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execl(self, self, mode, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s run failed\n", mode);
        std::exit(1);
    }
    // Time for the X server and the window manager to let go of the window.
    if (!DisplayProcesses().empty()) usleep(40'000);
    return {ms, Ms(usage.ru_utime) + Ms(usage.ru_stime) + ProcessorMs(DisplayProcesses()) - displayBefore};
}

void Report(const char* what, const std::vector<Run>& program, const std::vector<Run>& empty,
            const std::vector<Run>& sameControls, const std::vector<Run>& maximised, double Run::*figure) {
    const auto median = [figure](const std::vector<Run>& runs) {
        std::vector<double> figures;
        for (const Run& run : runs) figures.push_back(run.*figure);
        return Median(figures);
    };
    const double p = median(program);
    const double e = median(empty);
    const double c = median(sameControls);
    std::printf(" %s\n", what);
    std::printf("  kalvena registration window:   %8.2f ms\n", p);
    std::printf("  Qt window, same controls:      %8.2f ms   ratio %.2f (target <= 0.90)\n", c, p / c);
    std::printf("  Qt window, empty:              %8.2f ms   ratio %.2f (target <= 1.60)\n", e, p / e);
    const double m = median(maximised);
    std::printf("  same controls, maximised:      %8.2f ms   ratio %.2f\n", m, p / m);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "kalvena") == 0) return StartProgram();
    if (argc > 1 && std::strcmp(argv[1], "empty") == 0) return StartBare(argc, argv, false);
    if (argc > 1 && std::strcmp(argv[1], "same-controls") == 0) return StartBare(argc, argv, true);
    if (argc > 1 && std::strcmp(argv[1], "maximised") == 0) return StartBare(argc, argv, true, true);

    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 30;
    std::vector<Run> program;
    std::vector<Run> empty;
    std::vector<Run> sameControls;
    std::vector<Run> maximised;
    TimeChild(argv[0], "same-controls");  // warm the file cache
    TimeChild(argv[0], "kalvena");
    for (int i = 0; i < runs; ++i) {
        empty.push_back(TimeChild(argv[0], "empty"));
        sameControls.push_back(TimeChild(argv[0], "same-controls"));
        program.push_back(TimeChild(argv[0], "kalvena"));
        maximised.push_back(TimeChild(argv[0], "maximised"));
    }
    std::printf("start-up, median of %d runs (%s platform%s)\n", runs, std::getenv("QT_QPA_PLATFORM"),
                DisplayProcesses().empty() ? "" : ", with the X server and any window manager");
    Report("to the first paint", program, empty, sameControls, maximised, &Run::ms);
    Report("processor time", program, empty, sameControls, maximised, &Run::processorMs);
    return 0;
}
