#pragma once

#include <functional>

namespace app {

// The shell of a program: initialises the application, creates the main
// form, runs the event loop until it is closed and destroys every form.
// An exception during all that is shown: the toolkit's own with its message,
// any other as a toolkit exception with no message. Returns the exit code,
// which is 0 on every path, except that a request of the system to end the
// program (a termination signal) ends the loop the same orderly way and
// then ends the process as that request asked, without returning.
// Qt's application object must exist.
int RunProgram(const std::function<void()>& createMainForm);

}  // namespace app
