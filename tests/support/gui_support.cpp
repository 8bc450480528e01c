#include "tests/support/gui_support.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <chrono>

#include "app/application.h"

namespace testsupport {

QStringList& ShownExceptions() {
    static QStringList shown;
    return shown;
}

QStringList& ShownNotices() {
    static QStringList shown;
    return shown;
}

void UseSteppingInputClock() {
    app::App().StrayInput().SetClock([now = std::chrono::milliseconds{0}]() mutable {
        now += std::chrono::seconds{1};
        return now;
    });
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
    UseSteppingInputClock();
    ShownExceptions().clear();
    ShownNotices().clear();
}

}  // namespace testsupport
