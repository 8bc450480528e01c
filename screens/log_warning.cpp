#include "screens/log_warning.h"

#include "log/pending_append.h"

namespace {

// The first reason a file holds bytes back, the log's before the record's.
resultslog::Holdup FirstHoldup(std::initializer_list<const resultslog::PendingAppend*> files) {
    for (const resultslog::PendingAppend* file : files) {
        if (file->HeldBack() != resultslog::Holdup::None) return file->HeldBack();
    }
    return resultslog::Holdup::None;
}

}  // namespace

QString LogWarningText(std::initializer_list<const resultslog::PendingAppend*> files) {
    using resultslog::Holdup;
    // The student who has just pressed "OK" sees this first, so it speaks
    // of that result.
    switch (FirstHoldup(files)) {
        case Holdup::LockBusy:
            return QStringLiteral("Результат еще не записан в файл Results.txt: файл занят, запись повторяется.");
        case Holdup::FileUnwritable:
            return QStringLiteral("Результат еще не записан в файл Results.txt: файл недоступен, запись повторяется.");
        case Holdup::None: break;
    }
    bool healthy = true;
    bool unlocked = false;
    for (const resultslog::PendingAppend* file : files) {
        healthy = healthy && file->Healthy();
        unlocked = unlocked || file->WroteUnlocked();
    }
    if (!healthy) return QStringLiteral("Внимание: результаты не сохраняются, файл Results.txt недоступен для записи.");
    if (unlocked)
        return QStringLiteral(
            "Внимание: результат записан в файл Results.txt без блокировки: папка не дает заблокировать файл.");
    return {};
}
