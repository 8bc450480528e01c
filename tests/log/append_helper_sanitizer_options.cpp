// The test copy of kalvena-append runs setgid, and a setgid process cannot
// be inspected by LeakSanitizer, which then ends it with an error: under
// the sanitizers, its leak check is off. Without them nothing calls these.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
extern "C" const char* __lsan_default_options() { return "detect_leaks=0"; }
