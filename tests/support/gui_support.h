#pragma once

#include <QString>
#include <QStringList>

namespace testsupport {

// Messages that the error dialog would have shown, in order.
QStringList& ShownExceptions();

// Notices that the program would have shown in a dialog, in order.
QStringList& ShownNotices();

// The stray-input guard's clock for tests that do not time their input:
// each event arrives a second after the one before, so no two look like one
// burst. Tests that time their input set their own clock.
void UseSteppingInputClock();

// Lets deferred deletions and posted events run.
void ProcessEvents();

// A fresh program state for one GUI test: no forms, no recorded errors or
// notices, the stepping input clock.
void ResetApplication();

}  // namespace testsupport
