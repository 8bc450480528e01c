#include "tests/support/gui_support.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>

#include "app/application.h"

namespace testsupport {

QStringList& ShownExceptions() {
    static QStringList shown;
    return shown;
}

void ProcessEvents() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void ResetApplication() {
    app::App().DestroyForms();
    ProcessEvents();
    app::App().Initialize();
    ShownExceptions().clear();
}

}  // namespace testsupport
