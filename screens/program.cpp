#include "screens/program.h"

#include <iostream>

#include "app/application.h"
#include "app/program.h"
#include "app/settings/results_folder.h"
#include "content/jpeg/jpeg_unit.h"
#include "screens/Cap.h"

int RunKalvena(const std::filesystem::path& settingsFile) {
    // Before Qt: a bad line is reported once, whatever becomes of the
    // windows.
    const std::filesystem::path resultsPath =
        settings::ResultsLogPath(settings::ReadSettings(settingsFile, std::cerr), settings::ThisMachine());
    // Qt's own shutdown runs when this returns, after the forms, and the
    // results log with them, are gone.
    app::GuardedQtApplication qt;
    // The JPEG unit asks the screen, so it starts once Qt is up; it ends
    // after the forms and their pictures.
    jpeg::JpegUnit jpegUnit;
    // The registration window is the only form at start-up; it takes the
    // results log with it at the end, which appends whatever is pending.
    return app::RunProgram([&resultsPath] { app::App().CreateForm(Kalvena, resultsPath); });
}
