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
    const settings::Settings chosen = settings::ReadSettings(settingsFile, std::cerr);
    // With protected results the collecting service finds and makes the
    // folder itself; this program cannot open it, and names the file only in
    // messages.
    const std::filesystem::path collectorSocket = chosen.protectedResults ? chosen.collectorSocket : "";
    const std::filesystem::path resultsPath =
        chosen.protectedResults ? settings::LogPathIn(settings::ConfiguredFolder(chosen, settings::ThisMachine()))
                                : settings::ResultsLogPath(chosen, settings::ThisMachine());
    // Qt's own shutdown runs when this returns, after the forms, and the
    // results log with them, are gone.
    app::GuardedQtApplication qt;
    // The JPEG unit asks the screen, so it starts once Qt is up; it ends
    // after the forms and their pictures.
    jpeg::JpegUnit jpegUnit;
    // The registration window is the only form at start-up; it takes the
    // results log with it at the end, which appends whatever is pending.
    return app::RunProgram([&] { app::App().CreateForm(Kalvena, resultsPath, collectorSocket); });
}
