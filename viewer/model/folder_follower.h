#pragma once

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>

#include <vector>

namespace viewer {

// Follows opened folders for results logs that appear below them: a new
// computer's folder, a log written into a folder that had none. A folder's
// notice or a poll (for shared folders that send none) looks again; a big
// tree is looked over no more often than a small share of the time.
class FolderFollower : public QObject {
    Q_OBJECT

public:
    explicit FolderFollower(QObject* parent = nullptr);

    // Starts following a folder; its logs are told at once, in name order.
    void Follow(const QString& root);
    void Clear();
    QStringList Roots() const;

signals:
    void LogFound(const QString& root, const QString& log);

private:
    struct Root {
        QString path;
        QSet<QString> known;  // logs told
    };

    void Scan(Root& root);
    void ScanAll();
    void ScanSoon();

    std::vector<Root> roots_;
    QFileSystemWatcher watcher_;
    QTimer poll_;
    QTimer soon_;  // gathers a burst of notices into one look
    QElapsedTimer sinceScan_;
    qint64 scanMs_ = 0;  // how long the last look over every folder took
};

}  // namespace viewer
