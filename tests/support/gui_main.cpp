// The main of every GUI test: Qt's offscreen platform, the program's own
// application object, and a recorder in place of the modal error dialog.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/application.h"
#include "tests/support/gui_support.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    app::GuardedQtApplication qt(argc, argv);
    app::App().Initialize();
    app::App().SetExceptionDisplay([](const QString& message) { testsupport::ShownExceptions().push_back(message); });
    app::App().SetNoticeDisplay([](const QString& message) { testsupport::ShownNotices().push_back(message); });
    testsupport::UseSteppingInputClock();
    const int result = RUN_ALL_TESTS();
    app::App().DestroyForms();
    return result;
}
