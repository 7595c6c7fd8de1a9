// The commands over the editor's backups: backups and restore.
#include "commands.h"
#include "files.h"
#include "reports.h"
#include "shared/backup_index.h"

#include <CLI/CLI.hpp>

#include <QFileInfo>
#include <QRegularExpression>

#include <ostream>

namespace varkel::cli {

namespace {

// One backup as `backups` lists it: number, time, size, marks, path.
QString backupLine(const QString& number, const BackupEntry& entry, const QString& backupPath, const QString& file)
{
    QStringList marks;
    if (SameFileBytes(backupPath, file))
        marks << QStringLiteral("identical");
    if (!entry.originKnown())
        marks << QStringLiteral("origin unknown");
    return QStringLiteral("%1  %2  %3 bytes  %4%5")
        .arg(number,
             entry.made.isValid() ? entry.made.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                  : QStringLiteral("time unknown"),
             QString::number(entry.size),
             marks.isEmpty() ? QString() : marks.join(QStringLiteral(", ")) + QStringLiteral("  "), backupPath);
}

// Why `read` cannot go back over the file at `path`, a file of `kind` holding
// `sizes`; empty when it can.
QString readRefusal(const BackupRead& read, const QString& path, GameFileKind kind, SizeRange sizes)
{
    switch (read.refusal) {
    case BackupRead::Refusal::None:
        break;
    case BackupRead::Refusal::Missing:
        return QStringLiteral("no such backup");
    case BackupRead::Refusal::OtherFile:
        return QStringLiteral("is a backup of %1, not of %2").arg(read.otherOriginal, path);
    case BackupRead::Refusal::NotListed:
        return QStringLiteral("is no backup of %1").arg(path);
    case BackupRead::Refusal::Unreadable:
        return read.error.englishMessage();
    case BackupRead::Refusal::WrongSize:
        return QStringLiteral("%1 bytes is no %2 the editor opens (%3..%4 bytes); nothing restored")
            .arg(read.size)
            .arg(GameFileKindName(kind))
            .arg(sizes.least)
            .arg(sizes.most);
    }
    return {};
}

}  // namespace

void BackupsCommand::define(CLI::App& command, SharedOptions&)
{
    command.add_option("FILE", file_)->required();
}

int BackupsCommand::run(const Options& options, std::ostream& out, std::ostream& err)
{
    const QString path = QString::fromStdString(file_);
    const BackupIndex index = FileStore(options.backupFolder).backupIndex();
    const std::vector<BackupEntry> known = index.entriesFor(path);
    const std::vector<BackupEntry> unknown = index.unknownOriginNamedLike(path);
    if (known.empty() && unknown.empty()) {
        err << "varkel-cli: note: " << path << ": no backups in " << index.folder() << '\n';
        return kDone;
    }
    for (std::size_t i = 0; i < known.size(); ++i)
        out << backupLine(QString::number(i + 1), known[i], index.pathOf(known[i]), path) << '\n';
    for (const BackupEntry& entry : unknown)
        out << backupLine(QStringLiteral("?"), entry, index.pathOf(entry), path) << '\n';
    if (!unknown.empty())
        err << "varkel-cli: note: the backups marked ? are of a file named " << QFileInfo(path).fileName()
            << " in a folder the backup index no longer knows; restore one by its path\n";
    return kDone;
}

void RestoreCommand::define(CLI::App& command, SharedOptions& shared)
{
    command.add_option("FILE", file_)->required();
    command.add_option("BACKUP", backup_, "the backup's path, or its number as backups lists it")->required();
    shared.addDryRun(command, "show what would be restored, write nothing");
}

int RestoreCommand::run(const Options& options, std::ostream& out, std::ostream& err)
{
    const QString path = QString::fromStdString(file_), backup = QString::fromStdString(backup_);
    FileStore files = WritingStore(options, err);
    const BackupIndex index = files.backupIndex();
    // A backup's number is digits only: anything else names a file.
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    const bool isNumber = digits.match(backup).hasMatch();
    QString backupPath = backup;
    if (isNumber) {
        const std::vector<BackupEntry> known = index.entriesFor(path);
        bool fits = false;
        const qsizetype number = backup.toLongLong(&fits);
        if (!fits || number < 1 || number > qsizetype(known.size()))
            return Refuse(err, path,
                          known.empty()
                              ? QStringLiteral("backup %1: it has no backups in %2").arg(backup, index.folder())
                              : QStringLiteral("backup %1: no such backup; it has %2 (varkel-cli backups)")
                                    .arg(backup)
                                    .arg(known.size()));
        backupPath = index.pathOf(known[std::size_t(number - 1)]);
    }
    // What a backup may hold is what the file it goes over holds when the editor opens it.
    const QFileInfo target(path);
    const GameFileKind kind = GameFileKindOf(path, target.exists() ? target.size() : QFileInfo(backupPath).size());
    const auto sizes = GameFileSizes(kind);
    if (!sizes)
        return Refuse(
            err, path,
            QStringLiteral("is no file the editor writes (a %1); nothing restored").arg(GameFileKindName(kind)));
    // A path is the user's own choice, even of a backup whose origin is unknown.
    const BackupRead read = ReadBackupFor(index, path, backupPath, !isNumber, *sizes);
    if (const QString why = readRefusal(read, path, kind, *sizes); !why.isEmpty())
        return Refuse(err, backupPath, why);
    if (!options.force) {
        if (const QString why = Unlikeness(kind, read.bytes); !why.isEmpty())
            return Refuse(err, backupPath, why);
    }
    return restoreFrom(files, backupPath, read.bytes, options, out, err);
}

int RestoreCommand::restoreFrom(FileStore& files, const QString& backupPath, const QByteArray& bytes,
                                const Options& options, std::ostream& out, std::ostream& err) const
{
    const QString path = QString::fromStdString(file_);
    if (SameFileBytes(backupPath, path)) {
        out << path << ": holds the bytes of " << backupPath << " already; nothing written\n";
        return kDone;
    }
    if (options.dryRun) {
        out << path << ": would be restored from " << backupPath << " (" << bytes.size() << " bytes)"
            << (QFileInfo::exists(path) ? ", after a backup of what it holds now" : "")
            << " (dry run: nothing written)\n";
        return kDone;
    }
    if (const auto error = files.write(path, bytes, false))
        return Refuse(err, path, error->englishMessage());
    out << path << ": restored from " << backupPath << " (" << bytes.size() << " bytes)";
    if (const QString replaced = files.backupOf(path); !replaced.isEmpty())
        out << "; what it held is backed up in " << replaced;
    out << '\n';
    return kDone;
}

}  // namespace varkel::cli
