#include "program/program.h"

#include <iostream>
#include <memory>

#include "app/application.h"
#include "app/program.h"
#include "content/jpeg/jpeg_unit.h"
#include "program/results_place.h"
#include "screens/Cap.h"
#include "screens/exam_session.h"

int RunKalvena(const std::filesystem::path& settingsFile) {
    // Before Qt: a bad line is reported once, whatever becomes of the
    // windows.
    const settings::Settings chosen = settings::ReadSettings(settingsFile, std::cerr);
    const ResultsPlace place = ResultsPlaceFor(chosen, settings::ThisMachine());
    // Qt's own shutdown runs when this returns, after the forms, and the
    // results log with them, are gone.
    app::GuardedQtApplication qt;
    // The JPEG unit asks the screen, so it starts once Qt is up; it ends
    // after the forms and their pictures.
    jpeg::JpegUnit jpegUnit;
    // The registration window is the only form at start-up; it takes the
    // session with it at the end, which appends whatever is pending.
    return app::RunProgram([&] { app::App().CreateForm(Kalvena, std::make_unique<TestSession>(place)); });
}
