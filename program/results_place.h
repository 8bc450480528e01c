#pragma once

#include "screens/exam_session.h"
#include "settings/placeholders.h"
#include "settings/settings_file.h"

// Where this computer's results go, as the administrator's settings have
// it: with protected results the collecting service's socket and the log's
// name for messages (the service finds and makes the folder itself; this
// program cannot open it), otherwise the log this program appends to.
ResultsPlace ResultsPlaceFor(const settings::Settings& chosen, const settings::MachineNames& machine);
