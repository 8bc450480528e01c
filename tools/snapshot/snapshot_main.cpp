// kalvena-snapshot: renders the window of one question, as a student would
// see it, to a PNG file, so that a bank edit can be checked without taking
// a test. Usage: kalvena-snapshot Tq1312 out.png [width height]
#include <unistd.h>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/application.h"
#include "content/jpeg/jpeg_unit.h"
#include "content/question_names.h"
#include "screens/Cap.h"
#include "screens/question_window.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: %s Tq1312 out.png [width height]\n", argv[0]);
        return 2;
    }
    const std::optional<engine::QuestionId> id = content::ParseWindowClassName(argv[1]);
    if (!id) {
        std::fprintf(stderr, "%s names no question of the bank\n", argv[1]);
        return 2;
    }
    const QString output = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
    // The registration window opens the results log; keep it out of the way.
    if (chdir(P_tmpdir) != 0) return 1;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    app::GuardedQtApplication qt(argc, argv);
    app::App().Initialize();
    jpeg::InitializeJpegUnit();
    const int width = argc == 5 ? std::atoi(argv[3]) : 800;
    const int height = argc == 5 ? std::atoi(argv[4]) : 551;
    app::App().SetClientAreaOverride(QRect(0, 0, width, height));
    app::App().CreateForm(Kalvena);
    Kalvena->QuestionOrdinal = 1;
    TQuestionWindow* window = app::App().CreateForm(QuestionWindowReference(*id), *id);
    const bool saved = window->grab().save(output, "PNG");
    app::App().DestroyForms();
    return saved ? 0 : 1;
}
