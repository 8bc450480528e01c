#include "screens/log_warning.h"

#include "log/results_log.h"

QString LogWarningText(const resultslog::ResultsLog& log) {
    using Holdup = resultslog::ResultsLog::Holdup;
    // The student who has just pressed "OK" sees this first, so it speaks
    // of that result.
    switch (log.HeldBack()) {
        case Holdup::LockBusy:
            return QStringLiteral("Результат еще не записан в файл Results.txt: файл занят, запись повторяется.");
        case Holdup::FileUnwritable:
            return QStringLiteral("Результат еще не записан в файл Results.txt: файл недоступен, запись повторяется.");
        case Holdup::None: break;
    }
    if (log.Healthy()) return {};
    return QStringLiteral("Внимание: результаты не сохраняются, файл Results.txt недоступен для записи.");
}
