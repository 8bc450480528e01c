#pragma once

// The whole program: start-up, the event loop until the main window is
// closed, and the end. Returns the exit code, which is always 0.
int RunKalvena();
