#include "shared/backup_index.h"

#include "shared/file_io.h"
#include "shared/ini_file.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace varkel {

namespace {

constexpr qint64 kMaxIndexSize = 16 * 1024 * 1024;
// A writer waiting for another program's lock tries again this often, and says
// so once it has waited this long.
constexpr int kLockPollMs = 200;
constexpr int kLockNoticeMs = 3000;
// A lock file that names no program is taken for a crashed writer's once it is
// this old: a live writer names itself the moment it makes the file.
constexpr qint64 kUnreadableLockAgeMs = 10'000;
// Settings beyond these are taken as typed, only kept from overflowing.
constexpr qint64 kMaxPerFile = 1'000'000;
constexpr qint64 kMaxTotalMegabytes = qint64(1) << 30;
const QString kLockName = QStringLiteral("index.lock");
const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss-zzz");

// "<original's name>.<stamp>", with "-<n>" when two backups of one name share a stamp.
const QRegularExpression& backupNamePattern()
{
    static const QRegularExpression pattern(QStringLiteral("^(.+)\\.(\\d{8}-\\d{6}-\\d{3})(?:-\\d+)?$"));
    return pattern;
}

// A name that stays inside the folder and is none of the index's own files, so
// that a damaged index can never make pruning delete anything else.
bool isBackupFileName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && name != BackupIndex::kIndexName &&
           name != kLockName;
}

// What a backup's name alone tells: the original's file name and when it was made.
BackupEntry entryFromName(const QString& name)
{
    BackupEntry entry;
    entry.fileName = name;
    if (const auto match = backupNamePattern().match(name); match.hasMatch()) {
        entry.originalName = match.captured(1);
        entry.made = QDateTime::fromString(match.captured(2), kStampFormat);
    }
    return entry;
}

QString timeText(const QDateTime& time)
{
    return time.isValid() ? time.toUTC().toString(Qt::ISODateWithMs) : QString();
}

QDateTime timeOf(const QJsonValue& value)
{
    const QDateTime time = QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
    return time.isValid() ? time.toLocalTime() : QDateTime();
}

// Who holds `lock`, as its lock file names the program.
QString holderOf(const QLockFile& lock)
{
    qint64 pid = 0;
    QString host, program;
    if (!lock.getLockInfo(&pid, &host, &program))
        return QStringLiteral("another program");
    return QStringLiteral("%1 (process %2%3)")
        .arg(program.isEmpty() ? QStringLiteral("a program") : program)
        .arg(pid)
        .arg(host.isEmpty() ? QString() : QStringLiteral(" on ") + host);
}

// Takes the index lock of a folder, waiting as long as a live program holds it
// and telling `notices` once the wait grows long. Only the lock of a program that
// is gone is taken over. False when the lock cannot be had at all (the folder is
// not writable): the index is then left as it is.
bool lockIndex(QLockFile& lock, const BackupNotices& notices)
{
    lock.setStaleLockTime(0);
    QElapsedTimer waited;
    waited.start();
    bool told = false;
    while (!lock.tryLock(kLockPollMs)) {
        if (lock.error() != QLockFile::LockFailedError)
            return false;
        if (RemoveLockLeftBehind(lock))
            continue;
        qint64 pid = 0;
        QString host, program;
        const QFileInfo file(lock.fileName());
        if (!lock.getLockInfo(&pid, &host, &program) &&
            file.lastModified().msecsTo(QDateTime::currentDateTime()) > kUnreadableLockAgeMs)
            lock.removeStaleLockFile();
        if (!told && waited.elapsed() >= kLockNoticeMs) {
            told = true;
            if (notices)
                notices({BackupNotice::Kind::WaitingForIndex, holderOf(lock)});
        }
    }
    return true;
}

void tell(const BackupNotices& notices, BackupNotice::Kind kind, const QString& detail)
{
    if (notices)
        notices({kind, detail});
}

// Deletes the backup at `path` when it is a regular file; a link or anything
// else in its place is left alone. True when no backup is there any more.
bool removeBackupFile(const QString& path)
{
    QFileInfo info(path);
    if (info.isSymLink())
        return false;
    if (!info.exists())
        return true;
    return info.isFile() && QFile::remove(path);
}

}  // namespace

BackupLimits ReadBackupLimits(const QString& settingsPath)
{
    BackupLimits limits;
    const auto settings = IniFile::read(settingsPath);
    if (!settings)
        return limits;
    auto number = [&](const QString& key, qint64 fallback, qint64 most) {
        bool ok = false;
        const qint64 value = settings->value(kBackupsSection, key).toLongLong(&ok);
        return ok && value > 0 ? std::min(value, most) : fallback;
    };
    limits.perFile = int(number(kBackupsPerFileKey, limits.perFile, kMaxPerFile));
    limits.totalBytes = number(kBackupsTotalKey, BackupLimits::kDefaultTotalMegabytes, kMaxTotalMegabytes) * 1024 *
                        1024;
    return limits;
}

namespace {

// The files of `dir` named as backups, with their sizes: regular files only, never links.
QHash<QString, qint64> backupsOnDisk(const QDir& dir)
{
    QHash<QString, qint64> onDisk;
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Name)) {
        if (isBackupFileName(info.fileName()))
            onDisk.insert(info.fileName(), info.size());
    }
    return onDisk;
}

// The index file of `dir` as JSON; `whole` says whether it was there and read as
// one object. A link in the index's place is no index of ours: read as a missing one.
QJsonDocument readIndexFile(const QDir& dir, bool& whole)
{
    std::optional<QByteArray> bytes;
    if (QFile file; OpenRegularFile(file, dir.filePath(BackupIndex::kIndexName), nullptr, Links::Refuse) &&
                    file.size() <= kMaxIndexSize)
        bytes = ReadUpTo(FileIo::direct(), file, file.size());
    QJsonParseError parsed{};
    const QJsonDocument document = bytes ? QJsonDocument::fromJson(*bytes, &parsed) : QJsonDocument();
    whole = bytes && parsed.error == QJsonParseError::NoError && document.isObject();
    return document;
}

// What the index says of a backup beyond its name; what it leaves out stays as the name says.
void readListedDetails(const QJsonObject& o, BackupEntry& entry)
{
    entry.original = o.value(QStringLiteral("original")).toString();
    if (const QString name = o.value(QStringLiteral("originalName")).toString(); !name.isEmpty())
        entry.originalName = name;
    if (const QDateTime made = timeOf(o.value(QStringLiteral("made"))); made.isValid())
        entry.made = made;
    entry.originalModified = timeOf(o.value(QStringLiteral("originalModified")));
    entry.programVersion = o.value(QStringLiteral("program")).toString();
}

// The backups on disk the index does not list, oldest first by the times in their
// names; files not named as backups are left out.
std::vector<BackupEntry> unlistedBackups(const QHash<QString, qint64>& onDisk, const QSet<QString>& listed)
{
    std::vector<BackupEntry> found;
    for (auto it = onDisk.constBegin(); it != onDisk.constEnd(); ++it) {
        if (listed.contains(it.key()))
            continue;
        BackupEntry entry = entryFromName(it.key());
        if (!entry.made.isValid())
            continue;  // not a backup's name: some other file
        entry.size = it.value();
        found.push_back(std::move(entry));
    }
    std::sort(found.begin(), found.end(), [](const BackupEntry& a, const BackupEntry& b) {
        return a.made != b.made ? a.made < b.made : a.fileName < b.fileName;
    });
    return found;
}

}  // namespace

BackupIndex BackupIndex::load(const QString& folder)
{
    BackupIndex index;
    index.folder_ = folder;
    const QDir dir(folder);
    const QHash<QString, qint64> onDisk = backupsOnDisk(dir);
    bool whole = false;
    const QJsonDocument document = readIndexFile(dir, whole);
    index.mended_ = !whole;

    QSet<QString> listed;
    for (const QJsonValue& value : document.object().value(QStringLiteral("backups")).toArray()) {
        const QJsonObject o = value.toObject();
        BackupEntry entry = entryFromName(o.value(QStringLiteral("file")).toString());
        if (!onDisk.contains(entry.fileName) || listed.contains(entry.fileName)) {
            index.mended_ = true;  // gone, damaged or listed twice
            continue;
        }
        listed.insert(entry.fileName);
        readListedDetails(o, entry);
        entry.size = onDisk.value(entry.fileName);
        if (entry.size != o.value(QStringLiteral("size")).toInteger(-1))
            index.mended_ = true;
        index.entries_.push_back(std::move(entry));
    }

    // Backups the index does not list take their places by the times in their names.
    for (BackupEntry& entry : unlistedBackups(onDisk, listed)) {
        index.mended_ = true;
        const auto later = std::find_if(index.entries_.begin(), index.entries_.end(),
                                        [&](const BackupEntry& e) { return e.made.isValid() && e.made > entry.made; });
        index.entries_.insert(later, std::move(entry));
    }
    return index;
}

void BackupIndex::record(const QString& backupPath, const QString& path, const QDateTime& made,
                         const QDateTime& originalModified, const BackupLimits& limits, const BackupNotices& notices)
{
    const QFileInfo backup(backupPath);
    QLockFile lock(backup.dir().filePath(kLockName));
    if (!lockIndex(lock, notices)) {
        tell(notices, BackupNotice::Kind::IndexNotWritten, QStringLiteral("its lock cannot be made"));
        return;
    }
    BackupIndex index = load(backup.absolutePath());
    BackupEntry entry;
    entry.fileName = backup.fileName();
    entry.original = ComparablePath(path);
    entry.originalName = QFileInfo(path).fileName();
    entry.size = backup.size();
    entry.made = made;
    entry.originalModified = originalModified;
    entry.programVersion = QStringLiteral(VARKEL_VERSION_STRING);
    index.add(std::move(entry));
    index.prune(limits);
    if (const auto error = index.save())
        tell(notices, BackupNotice::Kind::IndexNotWritten, error->englishMessage());
}

bool BackupIndex::makeRoom(const QString& folder, const QString& path, qint64 size, const BackupLimits& limits,
                           const BackupNotices& notices)
{
    QLockFile lock(QDir(folder).filePath(kLockName));
    if (!lockIndex(lock, notices))
        return false;
    BackupIndex index = load(folder);
    // The backup to come, as the newest of its file: no file is deleted for it.
    BackupEntry coming;
    coming.fileName = QStringLiteral("/coming");
    coming.original = ComparablePath(path);
    coming.originalName = QFileInfo(path).fileName();
    coming.size = size;
    coming.made = QDateTime::currentDateTime();
    index.entries_.push_back(coming);
    const bool freed = !index.prune(limits).isEmpty();
    std::erase_if(index.entries_, [&](const BackupEntry& e) { return e.fileName == coming.fileName; });
    if (freed)
        (void)index.save();
    return freed;
}

QString BackupIndex::backupName(const QString& fileName, const QDateTime& made, int n)
{
    const QString base = fileName + QLatin1Char('.') + made.toString(kStampFormat);
    return n <= 1 ? base : base + QLatin1Char('-') + QString::number(n);
}

QString BackupIndex::pathOf(const BackupEntry& entry) const
{
    return QDir(folder_).filePath(entry.fileName);
}

std::vector<BackupEntry> BackupIndex::entriesFor(const QString& originalPath) const
{
    std::vector<BackupEntry> found;
    for (auto e = entries_.rbegin(); e != entries_.rend(); ++e)
        if (e->originKnown() && SameFilePath(e->original, originalPath))
            found.push_back(*e);
    return found;
}

std::vector<BackupEntry> BackupIndex::unknownOriginNamedLike(const QString& originalPath) const
{
    const QString name = QFileInfo(originalPath).fileName();
    std::vector<BackupEntry> found;
    for (auto e = entries_.rbegin(); e != entries_.rend(); ++e)
        if (!e->originKnown() && e->originalName.compare(name, Qt::CaseInsensitive) == 0)
            found.push_back(*e);
    return found;
}

std::optional<BackupEntry> BackupIndex::entryAt(const QString& backupPath) const
{
    const QFileInfo info(backupPath);
    if (!SameFilePath(info.absolutePath(), folder_))
        return std::nullopt;
    for (const BackupEntry& e : entries_)
        if (e.fileName == info.fileName())
            return e;
    return std::nullopt;
}

void BackupIndex::add(BackupEntry entry)
{
    // A backup made a moment ago may already be listed, found on disk by its name.
    std::erase_if(entries_, [&](const BackupEntry& e) { return e.fileName == entry.fileName; });
    entries_.push_back(std::move(entry));
}

QStringList BackupIndex::prune(const BackupLimits& limits)
{
    const int perFile = std::max(1, limits.perFile);
    QHash<QString, int> ofOriginal;             // backups of each known original
    QHash<QString, std::size_t> newest;         // the newest of each known original
    QHash<QString, int> ofName;                 // backups of each original's file name, any origin
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const BackupEntry& e = entries_[i];
        if (e.originKnown()) {
            ++ofOriginal[e.original];
            newest[e.original] = i;
        }
        ++ofName[e.originalName];
    }
    std::vector<bool> keep(entries_.size(), true);
    qint64 total = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const BackupEntry& e = entries_[i];
        if (e.originKnown() && ofOriginal[e.original] > perFile) {
            keep[i] = false;
            --ofOriginal[e.original];
            --ofName[e.originalName];
        } else {
            total += e.size;
        }
    }
    for (std::size_t i = 0; i < entries_.size() && total > limits.totalBytes; ++i) {
        const BackupEntry& e = entries_[i];
        const bool newestOfFile = e.originKnown() && newest.value(e.original) == i;
        if (!keep[i] || newestOfFile || ofName[e.originalName] <= 1)
            continue;
        keep[i] = false;
        --ofName[e.originalName];
        total -= e.size;
    }

    QStringList removed;
    std::vector<BackupEntry> kept;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (!keep[i] && removeBackupFile(pathOf(entries_[i])))
            removed << entries_[i].fileName;
        else
            kept.push_back(std::move(entries_[i]));  // a backup that cannot be deleted stays listed
    }
    entries_ = std::move(kept);
    return removed;
}

std::optional<RuntimeError> BackupIndex::save() const
{
    QJsonArray list;
    for (const BackupEntry& e : entries_) {
        list.append(QJsonObject{
            {QStringLiteral("file"), e.fileName},
            {QStringLiteral("original"), e.original},
            {QStringLiteral("originalName"), e.originalName},
            {QStringLiteral("size"), e.size},
            {QStringLiteral("made"), timeText(e.made)},
            {QStringLiteral("originalModified"), timeText(e.originalModified)},
            {QStringLiteral("program"), e.programVersion},
        });
    }
    const QJsonObject root{{QStringLiteral("format"), 1}, {QStringLiteral("backups"), list}};
    const QString path = QDir(folder_).filePath(kIndexName);
    // The paths of the user's games: as private as the backups.
    return ReplacePrivateFile(path, QJsonDocument(root).toJson(QJsonDocument::Indented));
}

bool SameFileBytes(const QString& a, const QString& b)
{
    QFile fa, fb;
    if (!OpenRegularFile(fa, a) || !OpenRegularFile(fb, b) || fa.size() != fb.size())
        return false;
    for (qint64 left = fa.size(); left > 0;) {
        const auto pa = ReadUpTo(FileIo::direct(), fa, std::min(kFileChunkSize, left));
        const auto pb = ReadUpTo(FileIo::direct(), fb, std::min(kFileChunkSize, left));
        if (!pa || !pb || pa->isEmpty() || *pa != *pb)
            return false;
        left -= pa->size();
    }
    return true;
}

BackupRead ReadBackupFor(const BackupIndex& index, const QString& originalPath, const QString& backupPath, bool named,
                         SizeRange sizes)
{
    BackupRead read;
    const QFileInfo info(backupPath);
    if (!info.isFile()) {
        read.refusal = BackupRead::Refusal::Missing;
        return read;
    }
    read.entry = index.entryAt(backupPath);
    const bool listedForIt = read.entry && read.entry->originKnown() &&
                             SameFilePath(read.entry->original, originalPath);
    if (read.entry && read.entry->originKnown() && !listedForIt) {
        read.refusal = BackupRead::Refusal::OtherFile;
        read.otherOriginal = read.entry->original;
        return read;
    }
    if (!listedForIt && !named) {
        read.refusal = BackupRead::Refusal::NotListed;
        return read;
    }
    read.size = info.size();
    if (read.size < sizes.least || read.size > sizes.most) {
        read.refusal = BackupRead::Refusal::WrongSize;
        return read;
    }
    // One byte more than allowed tells a file that grew since it was looked at.
    auto bytes = ReadRegularFile(backupPath, sizes.most + 1, &read.error);
    if (!bytes) {
        read.refusal = BackupRead::Refusal::Unreadable;
        return read;
    }
    if (bytes->size() < sizes.least || bytes->size() > sizes.most) {
        read.size = bytes->size();
        read.refusal = BackupRead::Refusal::WrongSize;
        return read;
    }
    read.bytes = std::move(*bytes);
    return read;
}

}  // namespace varkel
