// Resident memory after 1,000 finished tests in one run against after 10.
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

#include "app/application.h"
#include "engine/random.h"
#include "tests/support/screen_driver.h"
#include "tests/support/temp_dir.h"

namespace {

long ResidentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    app::GuardedQtApplication qt(argc, argv);
    app::App().Initialize();
    testsupport::TemporaryWorkingDirectory directory;
    driver::StartProgram();
    // The driver pins the walk's clock; students get the real one.
    engine::DefaultWalkSource().clock = [] { return std::time(nullptr); };
    int round = 0;
    for (; round < 10; ++round) driver::TakeWholeTest(round);
    const long after10 = ResidentKilobytes();
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 1000;
    for (; round < rounds; ++round) {
        driver::TakeWholeTest(round);
        if ((round + 1) % 100 == 0) std::printf("after %4d tests: %ld KiB\n", round + 1, ResidentKilobytes());
    }
    const long after1000 = ResidentKilobytes();
    std::printf("resident memory after 10 tests: %ld KiB, after %d: %ld KiB, growth %ld KiB (target < 2048)\n", after10,
                rounds, after1000, after1000 - after10);
    app::App().DestroyForms();
    return 0;
}
