#pragma once

#include <QAbstractTableModel>
#include <QFileSystemWatcher>
#include <QStringList>
#include <QTimer>

#include <map>
#include <memory>
#include <set>
#include <unordered_set>
#include <vector>

#include "viewer/core/analysis/live_attempts.h"
#include "viewer/core/analysis/record_ties.h"
#include "viewer/core/analysis/results_table.h"
#include "viewer/core/analysis/summary.h"
#include "viewer/core/exports/export.h"
#include "viewer/core/files/answers_file.h"
#include "viewer/core/files/log_file.h"
#include "viewer/core/memory/seen_check.h"
#include "viewer/model/folder_follower.h"

namespace viewer {

// The attempts of every open log as one table, kept up to date while the
// logs grow: a change of the file or its folder, or a poll every half
// second for shared folders that send no notice, reads the new bytes only.
// The answers record beside each log is followed the same way: it tells
// which of the attempts without a result are being answered right now.
class ResultsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // The value a column sorts by: numbers as numbers, texts as texts.
    static constexpr int kSortRole = Qt::UserRole;

    explicit ResultsModel(QObject* parent = nullptr);
    ~ResultsModel() override;

    // Opens a log for reading and watching; a file already open, under
    // whatever name, is skipped.
    // The computer is the log's folder's name unless given.
    void AddFile(const QString& path, const QString& computer = {});
    // Opens every results log below the folder and those that appear there
    // later; each log's computer is its folder relative to this one.
    void AddFolder(const QString& path);
    void Clear();
    QStringList Files() const;
    QStringList Folders() const;
    // Reads what was appended to every file since the last refresh.
    void Refresh();

    Row RowAt(int row) const;
    const Attempt& AttemptAt(int row) const;
    // Whether the row's student is answering right now, by the answers record.
    bool Running(int row) const;
    // The row's full name, spaces simplified and case folded, for search.
    const QString& FoldedName(int row) const;

    struct FileRemark {
        QString file;
        qint64 line = 0;  // 0 for the file as a whole
        QString text;
    };
    QList<FileRemark> Remarks() const;
    // For each open file that is no results log, what to tell of it.
    QStringList NotResultsMessages() const;
    // Why open files show nothing: those that cannot be read, and those
    // that are no results log.
    QStringList FileProblems() const;
    // Every platoon of the open logs, as first written, in platoon order.
    QStringList Platoons() const;
    // The computers of the open logs, in the same order.
    QStringList Computers() const;
    const QString& ComputerAt(int row) const;
    // The answers record beside each open log, as read so far.
    std::vector<const AnswersReader*> Records() const;
    // The computer of each of them, in the same order.
    QStringList RecordComputers() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    // Rows or remarks changed (after the model's own row signals).
    void Updated();
    // An answers record grew or was read afresh.
    void RecordsUpdated();

private:
    struct Source {
        std::unique_ptr<LogFile> file;
        QString label;
        QString computer;
        int shown = 0;  // rows of this file the model has announced
        // The attempts' names as a search compares them, filled as asked;
        // cut back before a change is announced, so never stale.
        mutable std::vector<QString> foldedNames;
        // Changes made behind the viewer's back: to the log, to its answers record.
        std::vector<SeenCheck> checks;
        std::unique_ptr<AnswersFile> answers;
        LiveAttempts live;
        // Tests started that the log has no registration of yet, shown
        // after the log's rows: their record starts and rows made of them.
        std::vector<std::size_t> pendingStarts;
        std::vector<Attempt> pending;
        int pendingShown = 0;
        std::string key;  // the same pair however reached (PairKey)
        // Each attempt's account, and what of it does not tie to the record.
        LogTies ties;
    };

    void Watch(const QString& path);
    bool CheckSeen(std::size_t source);
    void CheckAllSeen();
    const Finding* RowFinding(std::size_t source, const Attempt& attempt) const;
    void ShowChanges(std::size_t source, const LogFile::Change& change);
    bool ShowPending(std::size_t source);
    const Attempt& AttemptIn(std::size_t source, int index) const;
    LiveState LiveIn(std::size_t source, int index) const;
    bool RefreshRecord(std::size_t source);
    void ShowRunningMinutes();
    int FirstRowOf(std::size_t source) const;
    std::pair<std::size_t, int> Locate(int row) const;
    void UpdateLabels();
    void CollectPlatoons(const LogReader& reader, std::size_t from);
    // Ties the changed sources' logs to their records again (all of them
    // when that is needed); announces the rows whose ties changed.
    void Retie(const std::vector<std::size_t>& changed, bool recordsChanged);
    const AttemptTie* TieOf(std::size_t source, int position) const;
    QString RecordLabel(std::size_t source) const;

    std::vector<Source> sources_;
    std::map<std::string, std::string, PlatoonLess> platoons_;  // key → as first written
    std::unordered_set<std::string> platoonTexts_;
    QFileSystemWatcher watcher_;
    FolderFollower folders_;
    QTimer poll_;
    QTimer seenDelay_;
    QTimer minute_;  // the minutes of running tests go on
    std::vector<SharedName> shared_;
    bool recordsKept_ = false;
    QTimer tieDelay_;
    std::set<std::size_t> untied_;  // sources changed since they were last tied
    bool untiedRecords_ = false;
};

}  // namespace viewer
