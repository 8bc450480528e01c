#pragma once

#include <functional>

#include "collector/attempt.h"

namespace collector {

enum class WriteOutcome { Done, Busy, Failed };

// Appends the bytes under the file's lock, taken only if it is free at once
// (the caller tries again later, so nobody waits behind a lock a student's
// program holds). Just before appending, the file's size goes into
// `write.offset` and `keepOffset` must put it on disk; when the offset was
// kept by an earlier run that died before it could note the append done,
// the bytes found at the offset count as appended, so nothing is doubled.
WriteOutcome CarryOut(PendingWrite& write, const std::function<bool()>& keepOffset);

}  // namespace collector
