// kalvena-append log|answers: appends one entry, read whole from standard
// input, to the results folder that the administrator's settings name.
//
// Installed setgid to the group that alone may open that folder, so that
// students add their entries through this program and can neither read,
// edit nor delete anybody's results. It trusts nothing of its caller: not
// the environment, not a path, and not an entry that is not exactly one of
// the test program's. The answers record gets the caller's account, taken
// from the kernel, as its last field.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <string>

#include "app/settings/placeholders.h"
#include "app/settings/results_folder.h"
#include "app/settings/settings_file.h"
#include "log/answers_record.h"
#include "log/append/entry_check.h"
#include "log/append_file.h"

#ifndef KALVENA_APPEND_SETTINGS
#define KALVENA_APPEND_SETTINGS "/etc/kalvena/kalvena.conf"
#endif

namespace {

constexpr std::size_t kEntryLimit = 16 * 1024;
// Longer than the program's own wait: the program is waiting for us.
constexpr std::chrono::milliseconds kLockPatience{2000};

enum Exit { kAppended = 0, kRefused = 1, kUsage = 2, kNotAppended = 3 };

int Fail(Exit code, const std::string& reason) {
    std::cerr << "kalvena-append: " << reason << '\n';
    return code;
}

// Everything up to the end of input, or nothing once it passes the limit.
bool ReadEntry(std::string& entry) {
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        entry.append(buffer, static_cast<std::size_t>(got));
        if (entry.size() > kEntryLimit) return false;
    }
}

int Append(const std::filesystem::path& file, const std::string& bytes) {
    const int fd = resultslog::OpenAppendFile(file);
    if (fd < 0) return Fail(kNotAppended, "cannot open " + file.native());
    const resultslog::FileLock lock = resultslog::LockFile(fd, kLockPatience);
    if (lock == resultslog::FileLock::Busy) {
        resultslog::CloseAppendFile(fd);
        return Fail(kNotAppended, file.native() + " is locked by another program");
    }
    const resultslog::Appended appended = resultslog::AppendWhole(fd, bytes, lock == resultslog::FileLock::Held);
    resultslog::CloseAppendFile(fd);  // lets go of the lock
    return appended.whole ? kAppended : Fail(kNotAppended, "cannot write " + file.native());
}

}  // namespace

int main(int argc, char** argv) {
    // Nothing made here is for other accounts.
    umask(S_IRWXO);
    const std::string kind = argc == 2 ? argv[1] : "";
    if (kind != "log" && kind != "answers") {
        std::cerr << "usage: kalvena-append log|answers < entry\n";
        return kUsage;
    }
    std::string entry;
    if (!ReadEntry(entry)) return Fail(kRefused, "the entry is longer than " + std::to_string(kEntryLimit) + " bytes");

    const std::string reason =
        kind == "log" ? appendhelper::CheckLogEntry(entry) : appendhelper::CheckAnswersLine(entry);
    if (!reason.empty()) return Fail(kRefused, "refused: " + reason);

    const settings::Settings settings = settings::ReadSettings(KALVENA_APPEND_SETTINGS, std::cerr);
    if (settings.resultsFolder.empty()) return Fail(kNotAppended, "no results_folder in " KALVENA_APPEND_SETTINGS);
    const settings::MachineNames names = settings::ThisMachine();
    const std::filesystem::path folder = settings::ConfiguredFolder(settings, names);
    if (!settings::MakeSharedFolder(folder)) return Fail(kNotAppended, "cannot make the folder " + folder.native());

    const std::filesystem::path log = settings::LogPathIn(folder);
    if (kind == "log") return Append(log, entry);
    return Append(resultslog::AnswersRecordPath(log), appendhelper::WithAccount(entry, names.user));
}
