#pragma once

#include <QString>

#include "log/answers_line.h"

// The fields of a test attempt that begins now, in `theme`, for the student
// registered as `fullName` and `platoon`: this computer, this program's
// version and bank, and a fresh random id.
resultslog::AttemptFields NewAttemptFields(int theme, const QString& fullName, const QString& platoon);
