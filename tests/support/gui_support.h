#pragma once

#include <QString>
#include <QStringList>

namespace testsupport {

// Messages that the error dialog would have shown, in order.
QStringList& ShownExceptions();

// Lets deferred deletions and posted events run.
void ProcessEvents();

// A fresh program state for one GUI test: no forms, no recorded errors.
void ResetApplication();

}  // namespace testsupport
