// kalvena-results: the instructor's viewer of the test program's results.
#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include "viewer/model/command_line.h"
#include "viewer/window/results_window.h"

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (viewer::IsCommandLine(arguments)) {
        // Scripts run without a display; the PDF writer still needs fonts.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return viewer::RunCommandLine(app.arguments());
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("kalvena-results");
    QApplication::setApplicationDisplayName("Калвена — результаты");
    QApplication::setDesktopFileName("org.kalvena.Results");
    QTranslator qtRussian;
    if (qtRussian.load(QLocale(QLocale::Russian), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtRussian);
    }

    viewer::ResultsWindow window;
    QStringList files = app.arguments().mid(1);
    if (files.isEmpty() && QDir::current().exists("Results.txt")) files << "Results.txt";
    window.AddFiles(files);
    window.show();
    return app.exec();
}
