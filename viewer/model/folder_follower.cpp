#include "viewer/model/folder_follower.h"

#include <QFileInfo>

#include <algorithm>

#include "viewer/core/files/folder_walk.h"
#include "viewer/core/files/named_files.h"

namespace viewer {

namespace {

constexpr int kPollMilliseconds = 1000;
constexpr int kSoonMilliseconds = 100;
// Looks take at most about a twentieth of the time.
constexpr int kIdleShare = 20;
// Each watched folder costs a kernel watch of a limited number per user.
constexpr int kWatchedFoldersMax = 2000;

}  // namespace

FolderFollower::FolderFollower(QObject* parent) : QObject(parent) {
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FolderFollower::ScanSoon);
    poll_.setSingleShot(true);
    connect(&poll_, &QTimer::timeout, this, &FolderFollower::ScanAll);
    soon_.setSingleShot(true);
    connect(&soon_, &QTimer::timeout, this, &FolderFollower::ScanAll);
}

void FolderFollower::Follow(const QString& root) {
    const QString absolute = QFileInfo(root).absoluteFilePath();
    if (Roots().contains(absolute)) return;
    roots_.push_back({absolute, {}});
    Scan(roots_.back());
    if (!poll_.isActive()) poll_.start(kPollMilliseconds);
}

void FolderFollower::Clear() {
    roots_.clear();
    poll_.stop();
    soon_.stop();
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
}

QStringList FolderFollower::Roots() const {
    QStringList roots;
    for (const Root& root : roots_) roots << root.path;
    return roots;
}

void FolderFollower::ScanSoon() {
    if (soon_.isActive()) return;
    // Right after a look, the next waits its turn.
    const qint64 rest = sinceScan_.isValid() ? scanMs_ * kIdleShare - sinceScan_.elapsed() : 0;
    soon_.start(static_cast<int>(std::clamp<qint64>(rest, kSoonMilliseconds, kPollMilliseconds * 60)));
}

void FolderFollower::ScanAll() {
    QElapsedTimer clock;
    clock.start();
    for (Root& root : roots_) Scan(root);
    scanMs_ = clock.elapsed();
    sinceScan_.start();
    if (!roots_.empty()) {
        poll_.start(static_cast<int>(std::max<qint64>(kPollMilliseconds, scanMs_ * kIdleShare)));
    }
}

void FolderFollower::Scan(Root& root) {
    const QString path = root.path;
    const FolderContent content =
        WalkFolder(path.toStdString(), [](const std::string& name) { return name == kResultsLogName; });
    QStringList unwatched;
    const QStringList watchedList = watcher_.directories();
    const QSet<QString> watched(watchedList.begin(), watchedList.end());
    for (const std::filesystem::path& folder : content.folders) {
        if (watched.size() + unwatched.size() >= kWatchedFoldersMax) break;
        const QString name = QString::fromStdString(folder.string());
        if (!watched.contains(name)) unwatched << name;
    }
    if (!unwatched.isEmpty()) watcher_.addPaths(unwatched);
    QStringList found;
    for (const std::filesystem::path& log : content.files) {
        const QString name = QString::fromStdString(log.string());
        if (!root.known.contains(name)) found << name;
    }
    // Marked before told, so that a look started by a listener tells none twice.
    for (const QString& log : found) root.known.insert(log);
    for (const QString& log : found) emit LogFound(path, log);
}

}  // namespace viewer
