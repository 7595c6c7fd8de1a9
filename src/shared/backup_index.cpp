#include "shared/backup_index.h"

#include "shared/file_io.h"
#include "shared/file_store.h"
#include "shared/ini_file.h"

#include <QDir>
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
constexpr int kLockWaitMs = 2000;
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

// The file a backup belongs to, for the limits: its original, or for a backup of
// unknown origin every such backup of a file of that name.
QString groupOf(const BackupEntry& entry)
{
    return entry.originKnown() ? QLatin1Char('=') + entry.original : QLatin1Char('?') + entry.originalName;
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

BackupIndex BackupIndex::load(const QString& folder)
{
    BackupIndex index;
    index.folder_ = folder;
    const QDir dir(folder);
    QHash<QString, qint64> onDisk;  // regular files (not links) -> their sizes
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Name)) {
        if (isBackupFileName(info.fileName()))
            onDisk.insert(info.fileName(), info.size());
    }

    const auto bytes = FileStore::readFile(dir.filePath(kIndexName), kMaxIndexSize);
    QJsonParseError parsed{};
    const QJsonDocument document = bytes ? QJsonDocument::fromJson(*bytes, &parsed) : QJsonDocument();
    index.mended_ = !bytes || parsed.error != QJsonParseError::NoError || !document.isObject();

    QSet<QString> listed;
    for (const QJsonValue& value : document.object().value(QStringLiteral("backups")).toArray()) {
        const QJsonObject o = value.toObject();
        BackupEntry entry = entryFromName(o.value(QStringLiteral("file")).toString());
        if (!onDisk.contains(entry.fileName) || listed.contains(entry.fileName)) {
            index.mended_ = true;  // gone, damaged or listed twice
            continue;
        }
        listed.insert(entry.fileName);
        entry.original = o.value(QStringLiteral("original")).toString();
        if (const QString name = o.value(QStringLiteral("originalName")).toString(); !name.isEmpty())
            entry.originalName = name;
        if (const QDateTime made = timeOf(o.value(QStringLiteral("made"))); made.isValid())
            entry.made = made;
        entry.originalModified = timeOf(o.value(QStringLiteral("originalModified")));
        entry.programVersion = o.value(QStringLiteral("program")).toString();
        entry.size = onDisk.value(entry.fileName);
        if (entry.size != o.value(QStringLiteral("size")).toInteger(-1))
            index.mended_ = true;
        index.entries_.push_back(std::move(entry));
    }

    // Backups the index does not list take their places by the times in their names.
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
    for (BackupEntry& entry : found) {
        index.mended_ = true;
        const auto later = std::find_if(index.entries_.begin(), index.entries_.end(),
                                        [&](const BackupEntry& e) { return e.made.isValid() && e.made > entry.made; });
        index.entries_.insert(later, std::move(entry));
    }
    return index;
}

void BackupIndex::record(const QString& backupPath, const QString& path, const QDateTime& made,
                         const QDateTime& originalModified, const BackupLimits& limits)
{
    const QFileInfo backup(backupPath);
    // Another program (the editor and the command line) may be recording a backup
    // in the same folder; without the lock after a while, record all the same.
    QLockFile lock(backup.dir().filePath(kLockName));
    lock.tryLock(kLockWaitMs);
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
    (void)index.save();
}

QString BackupIndex::freeName(const QString& folder, const QString& fileName, const QDateTime& made)
{
    const QString base = fileName + QLatin1Char('.') + made.toString(kStampFormat);
    const QDir dir(folder);
    QString name = base;
    for (int n = 2; QFileInfo(dir.filePath(name)).exists() || QFileInfo(dir.filePath(name)).isSymLink(); ++n)
        name = base + QLatin1Char('-') + QString::number(n);
    return name;
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
    QHash<QString, int> count;
    QHash<QString, std::size_t> newest;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        ++count[groupOf(entries_[i])];
        newest[groupOf(entries_[i])] = i;
    }
    std::vector<bool> keep(entries_.size(), true);
    qint64 total = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        int& left = count[groupOf(entries_[i])];
        if (left > perFile) {
            keep[i] = false;
            --left;
        } else {
            total += entries_[i].size;
        }
    }
    for (std::size_t i = 0; i < entries_.size() && total > limits.totalBytes; ++i) {
        if (keep[i] && newest.value(groupOf(entries_[i])) != i) {
            keep[i] = false;
            total -= entries_[i].size;
        }
    }

    QStringList removed;
    std::vector<BackupEntry> kept;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const QString path = pathOf(entries_[i]);
        if (!keep[i] && (QFile::remove(path) || !QFileInfo::exists(path)))
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
    if (auto error = FileStore::writeFile(path, QJsonDocument(root).toJson(QJsonDocument::Indented)))
        return error;
    if (!QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return RuntimeError::fileAccess(path, QStringLiteral("cannot make the backup index private"));
    return std::nullopt;
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

BackupRead ReadBackupFor(const BackupIndex& index, const QString& originalPath, const QString& backupPath, bool named)
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
    auto bytes = FileStore::readFile(backupPath, info.size(), &read.error);
    if (!bytes) {
        read.refusal = BackupRead::Refusal::Unreadable;
        return read;
    }
    read.bytes = std::move(*bytes);
    return read;
}

}  // namespace varkel
