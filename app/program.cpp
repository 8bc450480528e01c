#include "app/program.h"

#include <QString>

#include "app/application.h"
#include "app/end_requests.h"
#include "app/exceptions.h"

namespace app {

int RunProgram(const std::function<void()>& createMainForm) {
    Application& application = App();
    EndRequests endRequests([&application] { application.Terminate(); });
    try {
        application.Initialize();
        createMainForm();
        application.Run();
    } catch (const Exception& error) {
        application.ShowException(QString::fromUtf8(error.what()));
    } catch (...) {
        application.ShowException(QString());
    }
    // The forms take the results log with them, which appends what is
    // pending: before the process may end by a signal.
    application.DestroyForms();
    endRequests.EndAsRequested();
    return 0;
}

}  // namespace app
