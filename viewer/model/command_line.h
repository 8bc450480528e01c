#pragma once

#include <QStringList>

namespace viewer {

// Whether the arguments ask for work without a window (--summary, --csv,
// --xlsx, --pdf, --help).
bool IsCommandLine(const QStringList& arguments);

// Does that work and returns the exit status: 0 done, 1 a file could not
// be read or written (the rest is still done), 2 the arguments are wrong.
int RunCommandLine(const QStringList& arguments);

}  // namespace viewer
