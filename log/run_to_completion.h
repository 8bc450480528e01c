#pragma once

namespace resultslog {

// Runs `work(context)` so that a kill of this process cannot stop it
// halfway, where the system needs help for that (one file per system).
// `work` may only make system calls and write into `context`: it may run in
// a helper process that shares this process's memory and thread-local state
// while this process waits for it.
void RunToCompletion(void (*work)(void*), void* context);

}  // namespace resultslog
