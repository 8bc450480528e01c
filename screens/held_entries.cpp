#include "screens/held_entries.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <filesystem>

#include "app/application.h"
#include "log/pending_append.h"

namespace {

// Another copy of the program finishes its append in far less; a window
// that seems to hang for longer would be closed by force.
constexpr std::chrono::milliseconds kExitPatience{300};

QString HeldBackText(const resultslog::PendingAppend& file) {
    const QString name = QString::fromStdString(file.Path().filename().string());
    const std::filesystem::path kept = file.WriteAheadFile();
    if (!kept.empty()) {
        return QStringLiteral(
                   "Запись в файл %1 не сделана: файл занят или недоступен. Она сохранена в файле %2 "
                   "и будет дописана в %1 при следующем запуске программы с этим файлом.")
            .arg(name, QString::fromStdString(std::filesystem::absolute(kept).lexically_normal().string()));
    }
    return QStringLiteral(
               "Запись в файл %1 не сделана: файл недоступен. Перепишите эти строки и передайте "
               "преподавателю:\n%2")
        .arg(name, QString::fromStdString(file.PendingText()).trimmed());
}

}  // namespace

void SettleHeldEntries(std::initializer_list<resultslog::PendingAppend*> files) {
    QStringList held;
    for (resultslog::PendingAppend* file : files) {
        if (!file->Flush(kExitPatience)) held.append(HeldBackText(*file));
    }
    if (!held.isEmpty()) app::App().ShowNotice(held.join(QStringLiteral("\n\n")));
}
