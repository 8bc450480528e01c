#pragma once

// The whole program: start-up, the event loop until the main window is
// closed, and the end. Returns the exit code, which is always 0; a
// termination signal ends the process as it asks once the results log has
// had what was pending.
int RunKalvena();
