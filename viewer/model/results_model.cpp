#include "viewer/model/results_model.h"

#include <QBrush>
#include <QColor>
#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <set>

#include "viewer/core/files/answers_reader.h"
#include "viewer/core/files/folder_walk.h"
#include "viewer/core/files/named_files.h"
#include "viewer/model/seen_folder.h"

namespace viewer {

namespace {

constexpr int kPollMilliseconds = 500;
constexpr int kSeenDelayMilliseconds = 300;
constexpr int kTieDelayMilliseconds = 100;
constexpr int kMinuteMilliseconds = 60'000;

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ResultsModel::ResultsModel(QObject* parent) : QAbstractTableModel(parent) {
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &ResultsModel::Refresh);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &ResultsModel::Refresh);
    connect(&poll_, &QTimer::timeout, this, &ResultsModel::Refresh);
    // Comparing with what was seen reads a changed file whole: it follows
    // the rows a little later, so they show at once.
    seenDelay_.setSingleShot(true);
    seenDelay_.setInterval(kSeenDelayMilliseconds);
    connect(&seenDelay_, &QTimer::timeout, this, &ResultsModel::CheckAllSeen);
    tieDelay_.setSingleShot(true);
    tieDelay_.setInterval(kTieDelayMilliseconds);
    connect(&tieDelay_, &QTimer::timeout, this, [this] {
        const std::vector<std::size_t> changed(untied_.begin(), untied_.end());
        const bool records = untiedRecords_;
        untied_.clear();
        untiedRecords_ = false;
        Retie(changed, records);
        emit Updated();
    });
    poll_.start(kPollMilliseconds);
    connect(&minute_, &QTimer::timeout, this, &ResultsModel::ShowRunningMinutes);
    connect(&folders_, &FolderFollower::LogFound, this, [this](const QString& root, const QString& log) {
        AddFile(log, FromUtf8(ComputerOf(log.toStdString(), root.toStdString())));
    });
    minute_.start(kMinuteMilliseconds);
}

ResultsModel::~ResultsModel() = default;

void ResultsModel::AddFile(const QString& path, const QString& computer) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const std::filesystem::path file = absolute.toStdString();
    const std::string key = PairKey(file);
    for (const Source& open : sources_) {
        if (open.key == key) return;
    }
    Source source{std::make_unique<LogFile>(file), {}, computer, 0, {}, {}, {}, {}, {}, {}, 0, key, {}};
    if (computer.isEmpty()) source.computer = FromUtf8(ComputerOf(file, {}));
    source.checks.emplace_back(file, SeenMemoryFolder());
    if (AnswersPathFor(file) != file) source.checks.emplace_back(AnswersPathFor(file), SeenMemoryFolder());
    source.answers = std::make_unique<AnswersFile>(AnswersPathFor(file));
    sources_.push_back(std::move(source));
    UpdateLabels();
    Watch(absolute);
    // Compared with what was seen before the rows are read, so the table
    // shows at least what is now remembered as seen; a change made in
    // between shows at the next comparison. Not at the same time as the
    // reading: each holds a file whole.
    CheckSeen(sources_.size() - 1);
    ShowChanges(sources_.size() - 1, sources_.back().file->Refresh());
    RefreshRecord(sources_.size() - 1);
    Retie({sources_.size() - 1}, true);
    emit Updated();
    emit RecordsUpdated();
}

void ResultsModel::AddFolder(const QString& path) { folders_.Follow(path); }

QStringList ResultsModel::Folders() const { return folders_.Roots(); }

void ResultsModel::Clear() {
    folders_.Clear();
    beginResetModel();
    sources_.clear();
    platoons_.clear();
    platoonTexts_.clear();
    shared_.clear();
    recordsKept_ = false;
    untied_.clear();
    untiedRecords_ = false;
    tieDelay_.stop();
    endResetModel();
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
    emit Updated();
    emit RecordsUpdated();
}

QStringList ResultsModel::Files() const {
    QStringList files;
    for (const Source& source : sources_) files << QString::fromStdString(source.file->Path().string());
    return files;
}

void ResultsModel::Watch(const QString& path) {
    // The folder too: it tells of a log created or replaced under the name.
    const QString folder = QFileInfo(path).absolutePath();
    if (!watcher_.directories().contains(folder)) watcher_.addPath(folder);
    if (QFileInfo::exists(path) && !watcher_.files().contains(path)) watcher_.addPath(path);
}

void ResultsModel::Refresh() {
    bool any = false;
    bool anyRecord = false;
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < sources_.size(); ++i) {
        const std::string problemBefore = sources_[i].file->Problem();
        const LogFile::Change change = sources_[i].file->Refresh();
        ShowChanges(i, change);
        // A replaced file drops out of the watcher; watch the new one.
        Watch(QString::fromStdString(sources_[i].file->Path().string()));
        const bool log = change.any || problemBefore != sources_[i].file->Problem();
        const bool record = RefreshRecord(i);
        if (log || record) changed.push_back(i);
        any = any || log;
        anyRecord = anyRecord || record;
    }
    // An edit in place may leave the size as it was: the comparison looks
    // at each file's size, time and inode itself, cheaply when none moved.
    if (!seenDelay_.isActive()) seenDelay_.start();
    // Tied a little later, off the way from an append to its row.
    if (!changed.empty()) {
        untied_.insert(changed.begin(), changed.end());
        untiedRecords_ = untiedRecords_ || anyRecord;
        if (!tieDelay_.isActive()) tieDelay_.start();
    }
    // The record's remarks are listed with the log's.
    if (any || anyRecord) emit Updated();
    if (anyRecord) emit RecordsUpdated();
}

bool ResultsModel::RefreshRecord(std::size_t source) {
    Source& each = sources_[source];
    const AnswersFile::Change change = each.answers->Refresh();
    const QString path = QString::fromStdString(each.answers->Path().string());
    if (QFileInfo::exists(path) && !watcher_.files().contains(path)) watcher_.addPath(path);
    if (!change.any) return false;
    const int first = FirstRowOf(source);
    for (const std::size_t attempt : each.live.UpdateRecord(each.answers->Reader(), change.restarted)) {
        if (static_cast<int>(attempt) >= each.shown) continue;
        const QModelIndex cell = index(first + static_cast<int>(attempt), static_cast<int>(Column::State));
        emit dataChanged(cell, cell);
    }
    // A test started before its registration reached the log is a row too.
    if (ShowPending(source)) emit Updated();
    return true;
}

void ResultsModel::ShowRunningMinutes() {
    int first = 0;
    for (std::size_t s = 0; s < sources_.size(); ++s) {
        const Source& source = sources_[s];
        for (int row = 0; row < source.shown + source.pendingShown; ++row) {
            if (LiveIn(s, row).kind != LiveKind::Running) continue;
            const QModelIndex cell = index(first + row, static_cast<int>(Column::State));
            emit dataChanged(cell, cell);
        }
        first += source.shown + source.pendingShown;
    }
}

bool ResultsModel::ShowPending(std::size_t source) {
    Source& each = sources_[source];
    std::vector<std::size_t> starts = each.live.UnpairedRunning();
    if (starts == each.pendingStarts) return false;
    const int first = FirstRowOf(source) + each.shown;
    if (each.pendingShown > 0) {
        beginRemoveRows({}, first, first + each.pendingShown - 1);
        each.pending.clear();
        each.pendingStarts.clear();
        each.pendingShown = 0;
        endRemoveRows();
    }
    if (starts.empty()) return true;
    beginInsertRows({}, first, first + static_cast<int>(starts.size()) - 1);
    for (const std::size_t start : starts) {
        const AttemptStart& begun = each.live.Start(start);
        each.pending.push_back(Attempt{begun.fullName, begun.platoon, 0, 0, 0});
    }
    each.pendingStarts = std::move(starts);
    each.pendingShown = static_cast<int>(each.pending.size());
    endInsertRows();
    return true;
}

const Attempt& ResultsModel::AttemptIn(std::size_t source, int index) const {
    const Source& of = sources_[source];
    if (index >= of.shown) return of.pending[static_cast<std::size_t>(index - of.shown)];
    return of.file->Reader().Attempts()[static_cast<std::size_t>(index)];
}

LiveState ResultsModel::LiveIn(std::size_t source, int index) const {
    const Source& of = sources_[source];
    if (index >= of.shown) {
        const AttemptStart& begun = of.live.Start(of.pendingStarts[static_cast<std::size_t>(index - of.shown)]);
        return {LiveKind::Running, begun.theme, begun.time};
    }
    if (AttemptIn(source, index).Finished()) return {};
    return of.live.StateOf(static_cast<std::size_t>(index));
}

void ResultsModel::CheckAllSeen() {
    bool any = false;
    for (std::size_t i = 0; i < sources_.size(); ++i) any = CheckSeen(i) || any;
    if (any) emit Updated();
}

bool ResultsModel::CheckSeen(std::size_t source) {
    const std::int64_t now =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    bool changed = false;
    for (SeenCheck& check : sources_[source].checks) changed = check.Update(now) || changed;
    const int first = FirstRowOf(source);
    if (changed && sources_[source].shown > 0) {
        emit dataChanged(index(first, 0), index(first + sources_[source].shown - 1, kColumnCount - 1));
    }
    return changed;
}

const Finding* ResultsModel::RowFinding(std::size_t source, const Attempt& attempt) const {
    for (const Finding& finding : sources_[source].checks.front().Findings()) {
        if (finding.line == attempt.line && finding.kind != Finding::Kind::Removed) return &finding;
    }
    return nullptr;
}

void ResultsModel::ShowChanges(std::size_t source, const LogFile::Change& change) {
    if (!change.any) return;
    Source& changed = sources_[source];
    changed.foldedNames.resize(std::min(changed.foldedNames.size(), change.firstChanged));
    // Paired before the rows are announced: a view asks their state at once.
    changed.live.UpdateLog(changed.file->Reader().Attempts(), change.firstChanged);
    const int first = FirstRowOf(source);
    const int now = static_cast<int>(changed.file->Reader().Attempts().size());
    const int from = static_cast<int>(change.firstChanged);
    if (now < changed.shown) {
        beginRemoveRows({}, first + now, first + changed.shown - 1);
        changed.shown = now;
        endRemoveRows();
    }
    if (from < changed.shown) {
        emit dataChanged(index(first + from, 0), index(first + changed.shown - 1, kColumnCount - 1));
    }
    if (now > changed.shown) {
        beginInsertRows({}, first + changed.shown, first + now - 1);
        changed.shown = now;
        endInsertRows();
    }
    ShowPending(source);
    if (change.firstChanged == 0) {
        // A file read again from the start may have lost platoons.
        platoons_.clear();
        platoonTexts_.clear();
        for (const Source& each : sources_) CollectPlatoons(each.file->Reader(), 0);
    } else {
        CollectPlatoons(changed.file->Reader(), change.firstChanged);
    }
}

void ResultsModel::CollectPlatoons(const LogReader& reader, std::size_t from) {
    // A class has a handful of platoons: most texts were seen before.
    const auto& attempts = reader.Attempts();
    for (std::size_t i = from; i < attempts.size(); ++i) {
        if (platoonTexts_.insert(attempts[i].platoon).second) {
            platoons_.try_emplace(PlatoonKey(attempts[i].platoon), attempts[i].platoon);
        }
    }
}

void ResultsModel::Retie(const std::vector<std::size_t>& changed, bool recordsChanged) {
    // What one file's lines change is its own rows' ties, unless the
    // accounts a name was written by, or whether records are kept at all,
    // changed: then every row's.
    bool all = false;
    bool recordsKept = false;
    for (const Source& source : sources_) recordsKept = recordsKept || KeepsRecords(source.answers->Reader());
    if (recordsKept != recordsKept_) {
        recordsKept_ = recordsKept;
        all = true;
    }
    if (recordsChanged) {
        std::vector<SharedName> shared = NamesOfSeveralAccounts(Records());
        const auto texts = [](const std::vector<SharedName>& names) {
            std::vector<std::string> list;
            for (const SharedName& name : names) list.push_back(name.Text());
            return list;
        };
        all = all || texts(shared) != texts(shared_);
        shared_ = std::move(shared);
    }
    std::vector<bool> retie(sources_.size(), all);
    for (const std::size_t source : changed) retie[source] = true;
    int first = 0;
    for (std::size_t s = 0; s < sources_.size(); first += sources_[s++].shown) {
        if (!retie[s]) continue;
        Source& source = sources_[s];
        const auto& attempts = source.file->Reader().Attempts();
        LogTies ties = TieLogToRecord(attempts, source.answers->Reader(), recordsKept);
        FlagSharedNames(shared_, attempts, ties);
        int from = source.shown, to = -1;
        for (int row = 0; row < source.shown; ++row) {
            const auto at = static_cast<std::size_t>(row);
            const bool same = at < source.ties.attempts.size() &&
                              source.ties.attempts[at].account == ties.attempts[at].account &&
                              source.ties.attempts[at].problem == ties.attempts[at].problem;
            if (same) continue;
            from = std::min(from, row);
            to = row;
        }
        source.ties = std::move(ties);
        if (to >= from) emit dataChanged(index(first + from, 0), index(first + to, kColumnCount - 1));
    }
}

const AttemptTie* ResultsModel::TieOf(std::size_t source, int position) const {
    const auto& ties = sources_[source].ties.attempts;
    return static_cast<std::size_t>(position) < ties.size() ? &ties[static_cast<std::size_t>(position)] : nullptr;
}

QString ResultsModel::RecordLabel(std::size_t source) const {
    // Beside the log, named as the log is: "pc01/Results.answers.csv".
    const QString name = QString::fromStdString(sources_[source].answers->Path().filename().string());
    const QString folder = QFileInfo(sources_[source].label).path();
    return folder == "." ? name : folder + "/" + name;
}

std::vector<const AnswersReader*> ResultsModel::Records() const {
    std::vector<const AnswersReader*> records;
    for (const Source& source : sources_) records.push_back(&source.answers->Reader());
    return records;
}

QStringList ResultsModel::RecordComputers() const {
    QStringList computers;
    for (const Source& source : sources_) computers << source.computer;
    return computers;
}

QStringList ResultsModel::Computers() const {
    std::set<std::string, PlatoonLess> computers;
    for (const Source& source : sources_) computers.insert(source.computer.toStdString());
    QStringList list;
    for (const std::string& computer : computers) list << FromUtf8(computer);
    return list;
}

const QString& ResultsModel::ComputerAt(int row) const { return sources_[Locate(row).first].computer; }

QStringList ResultsModel::Platoons() const {
    QStringList platoons;
    for (const auto& [key, platoon] : platoons_) platoons << FromUtf8(platoon);
    return platoons;
}

void ResultsModel::UpdateLabels() {
    std::vector<std::filesystem::path> paths;
    for (const Source& source : sources_) paths.push_back(source.file->Path());
    const std::vector<std::string> labels = FileLabels(paths);
    for (std::size_t i = 0; i < sources_.size(); ++i) sources_[i].label = FromUtf8(labels[i]);
    if (rowCount() > 0) emit dataChanged(index(0, kColumnCount - 1), index(rowCount() - 1, kColumnCount - 1));
}

int ResultsModel::FirstRowOf(std::size_t source) const {
    int first = 0;
    for (std::size_t i = 0; i < source; ++i) first += sources_[i].shown + sources_[i].pendingShown;
    return first;
}

std::pair<std::size_t, int> ResultsModel::Locate(int row) const {
    std::size_t source = 0;
    while (row >= sources_[source].shown + sources_[source].pendingShown) {
        row -= sources_[source].shown + sources_[source].pendingShown;
        ++source;
    }
    return {source, row};
}

const Attempt& ResultsModel::AttemptAt(int row) const {
    const auto [source, index] = Locate(row);
    return AttemptIn(source, index);
}

const QString& ResultsModel::FoldedName(int row) const {
    const auto [source, index] = Locate(row);
    const Source& of = sources_[source];
    if (index >= of.shown) {
        // Few, and gone once the log has them: folded as asked.
        static QString folded;
        folded = FromUtf8(AttemptIn(source, index).fullName).simplified().toCaseFolded();
        return folded;
    }
    const auto& attempts = of.file->Reader().Attempts();
    while (of.foldedNames.size() <= static_cast<std::size_t>(index)) {
        of.foldedNames.push_back(FromUtf8(attempts[of.foldedNames.size()].fullName).simplified().toCaseFolded());
    }
    return of.foldedNames[static_cast<std::size_t>(index)];
}

bool ResultsModel::Running(int row) const {
    const auto [source, index] = Locate(row);
    return LiveIn(source, index).kind == LiveKind::Running;
}

Row ResultsModel::RowAt(int row) const {
    const auto [source, index] = Locate(row);
    Row shown{&AttemptIn(source, index),
              index + 1,
              sources_[source].label.toStdString(),
              sources_[source].computer.toStdString(),
              {},
              {}};
    if (const AttemptTie* tie = TieOf(source, index)) shown.account = tie->account;
    const LiveState live = LiveIn(source, index);
    if (live.kind != LiveKind::Unknown) shown.liveState = LiveStateText(live, QDateTime::currentSecsSinceEpoch());
    return shown;
}

QList<ResultsModel::FileRemark> ResultsModel::Remarks() const {
    QList<FileRemark> remarks;
    for (const Source& source : sources_) {
        if (!source.file->Problem().empty()) remarks.push_back({source.label, 0, FromUtf8(source.file->Problem())});
        if (const std::string reason = source.file->Reader().NotResultsReason(); !reason.empty()) {
            remarks.push_back(
                {source.label, 0, FromUtf8(LogReader::NotResultsMessage(source.label.toStdString(), reason))});
            continue;
        }
        for (const Remark& remark : source.file->Reader().Remarks()) {
            remarks.push_back({source.label, remark.line, FromUtf8(remark.text)});
        }
        for (const Remark& remark : source.answers->Reader().Remarks()) {
            remarks.push_back(
                {RecordLabel(static_cast<std::size_t>(&source - sources_.data())), remark.line, FromUtf8(remark.text)});
        }
        for (const Remark& remark : source.ties.remarks) {
            remarks.push_back({source.label, remark.line, FromUtf8(remark.text)});
        }
        for (const SeenCheck& check : source.checks) {
            const QString file = &check == &source.checks.front()
                                     ? source.label
                                     : QString::fromStdString(check.Path().filename().string());
            for (const Finding& finding : check.Findings()) {
                remarks.push_back({file, finding.line, FromUtf8(finding.text)});
            }
        }
    }
    for (const SharedName& name : shared_) {
        if (name.record < sources_.size())
            remarks.push_back({RecordLabel(name.record), name.line, FromUtf8(name.Text())});
    }
    return remarks;
}

QStringList ResultsModel::NotResultsMessages() const {
    QStringList messages;
    for (const Source& source : sources_) {
        if (const std::string reason = source.file->Reader().NotResultsReason(); !reason.empty()) {
            messages << FromUtf8(LogReader::NotResultsMessage(source.label.toStdString(), reason));
        }
    }
    return messages;
}

QStringList ResultsModel::FileProblems() const {
    QStringList problems;
    for (const Source& source : sources_) {
        if (!source.file->Problem().empty())
            problems << tr("Файл «%1»: %2").arg(source.label, FromUtf8(source.file->Problem()));
    }
    return problems + NotResultsMessages();
}

int ResultsModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    int rows = 0;
    for (const Source& source : sources_) rows += source.shown + source.pendingShown;
    return rows;
}

int ResultsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant ResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto column = static_cast<Column>(index.column());
    // Named apart, not bound: the lambda below takes them.
    const auto located = Locate(index.row());
    const std::size_t source = located.first;
    const int position = located.second;
    const Row row{&AttemptIn(source, position), position + 1, {}, {}, {}, {}};
    const AttemptTie* tie = TieOf(source, position);
    const bool untied = tie != nullptr && !tie->problem.empty();
    const bool flagged = untied || RowFinding(source, *row.attempt) != nullptr;
    const bool finished = row.attempt->Finished();
    const LiveState live = LiveIn(source, position);
    const auto text = [&] {
        if (column == Column::File) return sources_[source].label;
        if (column == Column::Computer) return sources_[source].computer;
        if (column == Column::Account) return tie != nullptr ? FromUtf8(tie->account) : QString();
        if (column == Column::State && live.kind != LiveKind::Unknown)
            return FromUtf8(LiveStateText(live, QDateTime::currentSecsSinceEpoch()));
        return FromUtf8(CellText(row, column));
    };
    switch (role) {
        case Qt::DisplayRole: return text();
        case kSortRole:
            if (column == Column::Grade) return static_cast<qlonglong>(GradeOf(*row.attempt).value_or(0));
            if (IsNumberColumn(column)) return static_cast<qlonglong>(CellNumber(row, column).value_or(-1));
            return text();
        case Qt::TextAlignmentRole:
            if (IsNumberColumn(column)) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
            return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::BackgroundRole:
            if (flagged) return QBrush(QColor(0xFF, 0xC8, 0xC8));
            // A test being answered is no trouble, unlike one left unfinished.
            if (live.kind == LiveKind::Running) return QBrush(QColor(0xE3, 0xF2, 0xE1));
            if (!finished) return QBrush(QColor(0xFF, 0xF1, 0xD6));
            return {};
        case Qt::ForegroundRole:
            if (flagged) return QBrush(QColor(0xA0, 0x00, 0x00));
            if (live.kind == LiveKind::Running && column == Column::State) return QBrush(QColor(0x1E, 0x6B, 0x2A));
            if (!finished && column == Column::State) return QBrush(QColor(0xB0, 0x4A, 0x00));
            return {};
        case Qt::ToolTipRole:
            if (const Finding* finding = RowFinding(source, *row.attempt)) {
                // "Запись изменена после …: была …"
                QString text = FromUtf8(finding->text);
                text[0] = text[0].toUpper();
                return text;
            }
            if (untied) {
                QString text = FromUtf8(tie->problem);
                text[0] = text[0].toUpper();
                return text;
            }
            return tr("%1, строка %2").arg(sources_[source].label).arg(row.attempt->line);
        default: return {};
    }
}

QVariant ResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return QString::fromUtf8(ColumnTitle(static_cast<Column>(section)));
}

}  // namespace viewer
