#include "screens/program.h"

#include <QString>

#include "app/application.h"
#include "app/exceptions.h"
#include "screens/Cap.h"

int RunKalvena() {
    app::Application& application = app::App();
    try {
        application.Initialize();
        application.CreateForm(Kalvena);
        application.Run();
    } catch (const app::Exception& error) {
        application.ShowException(QString::fromUtf8(error.what()));
    } catch (...) {
        // Anything else is shown as the toolkit's exception with no message.
        application.ShowException(QString());
    }
    // Every form goes with the program; the registration window takes the
    // results log with it, which appends whatever is still pending.
    application.DestroyForms();
    return 0;
}
