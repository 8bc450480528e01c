#include "screens/program.h"

#include "app/application.h"
#include "app/program.h"
#include "content/jpeg/jpeg_unit.h"
#include "screens/Cap.h"

int RunKalvena() {
    // Qt's own shutdown runs when this returns, after the forms, and the
    // results log with them, are gone.
    app::GuardedQtApplication qt;
    // The JPEG unit asks the screen, so it starts once Qt is up; it ends
    // after the forms and their pictures.
    jpeg::JpegUnit jpegUnit;
    // The registration window is the only form at start-up; it takes the
    // results log with it at the end, which appends whatever is pending.
    return app::RunProgram([] { app::App().CreateForm(Kalvena); });
}
