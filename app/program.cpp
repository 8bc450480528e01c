#include "app/program.h"

#include <QString>

#include "app/application.h"
#include "app/exceptions.h"

namespace app {

int RunProgram(const std::function<void()>& createMainForm) {
    Application& application = App();
    try {
        application.Initialize();
        createMainForm();
        application.Run();
    } catch (const Exception& error) {
        application.ShowException(QString::fromUtf8(error.what()));
    } catch (...) {
        application.ShowException(QString());
    }
    application.DestroyForms();
    return 0;
}

}  // namespace app
