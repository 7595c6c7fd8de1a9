#pragma once

#include <QString>
#include <QStringList>

#include <iosfwd>
#include <optional>
#include <vector>

namespace varkel::cli {

// Exit statuses: done, found something (a difference, a problem), refused.
enum Status { kDone = 0, kFound = 1, kRefused = 2 };

struct Options {
    QString programFolder;
    QString gameFolder;  // --game-folder
    QString backupFolder;  // empty: the editor's
    QString records;     // --records
    std::optional<QString> where;  // --where: the records a filter picks
    std::vector<int> only;
    QString format = QStringLiteral("json");
    bool bom = false;       // --bom: a CSV starts with a UTF-8 byte-order mark
    bool captions = false;  // --captions: a CSV is headed by captions, not keys
    QString output;  // --output
    bool dryRun = false;
    std::optional<int> slot;  // --slot: the player slot whose intimacy levels are records
    bool special = false;     // --special: the levels toward the seven special persons
    bool byOfficer = false;   // --by-officer: set's NUMBER names the officer a record is about
    bool force = false;       // --force: open a save or system save that does not look like one
    bool noBackup = false;    // --no-backup: write even when no backup can be made
};

// Each command writes its results to `out` and its complaints, one line each, to `err`.
int Info(const QString& path, const Options& options, std::ostream& out, std::ostream& err);
int Dump(const QString& path, const Options& options, std::ostream& out, std::ostream& err);
int Set(const QString& path, const QString& kind, int number, const QStringList& assignments, const Options& options,
        std::ostream& out, std::ostream& err);
// Changes the records of kind `kind` that `options.where` picks, each by every
// assignment (FIELD=VALUE, FIELD=+n, -n, *p%, min, max, cap); one write.
int SetWhere(const QString& path, const QString& kind, const QStringList& assignments, const Options& options,
             std::ostream& out, std::ostream& err);
int Apply(const QString& path, const QString& editsPath, const Options& options, std::ostream& out, std::ostream& err);
int Diff(const QString& a, const QString& b, const Options& options, std::ostream& out, std::ostream& err);
int Check(const QString& path, const Options& options, std::ostream& out, std::ostream& err);
// Takes ("take") or gives up ("give-up") control of an officer, or forces it into
// the game ("appear"), as the editor's officer view does.
int Control(const QString& path, const QString& action, int officer, const Options& options, std::ostream& out,
            std::ostream& err);

// The growth forecast of child `member` (0..7) of a saved game, as the family
// view's forecast window shows it: a rating, then the room left, per ability.
int Forecast(const QString& path, int member, const Options& options, std::ostream& out, std::ostream& err);

// The backups of FILE in the editor's backup folder, newest first: number, time,
// size, "identical" where one holds the bytes FILE has now, and the backup's path.
int Backups(const QString& path, const Options& options, std::ostream& out, std::ostream& err);
// Puts `backup` (its path, or its number as Backups shows it) back over FILE
// through the editor's atomic save, which backs up what it replaces.
int Restore(const QString& path, const QString& backup, const Options& options, std::ostream& out, std::ostream& err);

}  // namespace varkel::cli
