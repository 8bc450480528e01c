// kalvena-results: the instructor's viewer of the test program's results.
#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>

#include "viewer/core/files/named_files.h"
#include "viewer/model/command_line.h"
#include "viewer/window/program_identity.h"
#include "viewer/window/results_window.h"

namespace {

// Qt's own diagnostics are English notes for developers ("XDG_RUNTIME_DIR
// not set"); the viewer tells its user about failures itself, in Russian.
void DropQtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    // A fatal one ends the program (no display, say): its cause is kept, quoted.
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "kalvena-results: сбой библиотеки Qt, работа прервана (%s)\n",
                     message.toLocal8Bit().constData());
    }
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(DropQtMessage);
    // Read here, not by Qt: a wrong option is refused even without a
    // display, and Qt never takes a file name for one of its own options.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const viewer::Arguments parsed = viewer::ParseArguments(arguments);
    if (!parsed.error.isEmpty()) {
        viewer::PrintArgumentError(parsed.error);
        return 2;
    }
    int qtArgc = 1;
    if (parsed.mode != viewer::Mode::Window) {
        // Scripts run without a display; the PDF writer still needs fonts.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        const QGuiApplication app(qtArgc, argv);
        return viewer::RunCommandLine(parsed);
    }

    QApplication app(qtArgc, argv);
    viewer::SetProgramIdentity();
    QTranslator qtRussian;
    if (qtRussian.load(QLocale(QLocale::Russian), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtRussian);
    }

    viewer::ResultsWindow window;
    QStringList files = parsed.files;
    const QString here = QString::fromUtf8(viewer::kResultsLogName);
    if (files.isEmpty() && QDir::current().exists(here)) files << here;
    window.AddFiles(files);
    window.show();
    return app.exec();
}
