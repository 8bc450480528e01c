#include "screens/log_warning.h"

#include "facts/program_texts.h"
#include "log/pending_append.h"

namespace {

QString NameOf(const resultslog::PendingAppend& file) {
    return QString::fromStdString(file.Path().filename().string());
}

// The first file that holds bytes back, the log before the record.
const resultslog::PendingAppend* FirstHoldingBack(std::initializer_list<const resultslog::PendingAppend*> files) {
    for (const resultslog::PendingAppend* file : files) {
        if (file->HeldBack() != resultslog::Holdup::None) return file;
    }
    return nullptr;
}

}  // namespace

QString LogWarningText(std::initializer_list<const resultslog::PendingAppend*> files) {
    using resultslog::Holdup;
    // The student who has just pressed "OK" sees this first, so it speaks
    // of that result, and names the file that holds it back.
    if (const resultslog::PendingAppend* held = FirstHoldingBack(files)) {
        const QString text =
            held->HeldBack() == Holdup::LockBusy
                ? QStringLiteral("Результат еще не записан в файл %1: файл занят, запись повторяется.")
                : QStringLiteral("Результат еще не записан в файл %1: файл недоступен, запись повторяется.");
        return text.arg(NameOf(*held));
    }
    for (const resultslog::PendingAppend* file : files) {
        if (!file->Healthy()) {
            return QString::fromStdString(facts::UnwritableLogWarning(NameOf(*file).toStdString()));
        }
    }
    for (const resultslog::PendingAppend* file : files) {
        if (file->WroteUnlocked()) {
            return QStringLiteral(
                       "Внимание: результат записан в файл %1 без блокировки: папка не дает заблокировать файл.")
                .arg(NameOf(*file));
        }
    }
    return {};
}
