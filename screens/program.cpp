#include "screens/program.h"

#include "app/application.h"
#include "app/program.h"
#include "content/jpeg/jpeg_unit.h"
#include "screens/Cap.h"

int RunKalvena() {
    // Qt's own shutdown runs when this returns, after the forms, and the
    // results log with them, are gone.
    app::GuardedQtApplication qt;
    // The registration window is the only form at start-up; it takes the
    // results log with it at the end, which appends whatever is pending.
    const int exitCode = app::RunProgram([] {
        jpeg::InitializeJpegUnit();
        app::App().CreateForm(Kalvena);
    });
    jpeg::FinalizeJpegUnit();
    return exitCode;
}
