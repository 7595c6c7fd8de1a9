#pragma once

// The commands of varkel-cli, one class each; Commands() lists them.
#include "command.h"
#include "shared/file_store.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace varkel {
class GameFile;
class RecordKind;
}  // namespace varkel

namespace varkel::cli {

// What FILE is; for a saved game its date, officers, controlled officers and families.
class InfoCommand : public Command {
public:
    void define(CLI::App& command, SharedOptions& shared) override;
    int run(const Options& options, std::ostream& out, std::ostream& err) override;

private:
    std::string file_;
};

// Every record of one kind of FILE, decoded, as JSON, JSON lines or CSV.
class DumpCommand : public Command {
public:
    void define(CLI::App& command, SharedOptions& shared) override;
    int run(const Options& options, std::ostream& out, std::ostream& err) override;

private:
    std::string file_, format_ = "json";
    std::vector<int> only_;
    bool bom_ = false;       // a CSV starts with a UTF-8 byte-order mark
    bool captions_ = false;  // a CSV is headed by captions, not keys
};

// Changes fields of one record as the editor's Apply does; with --where, of every
// record the filter picks, each by every assignment (FIELD=VALUE, FIELD=+n, -n,
// *p%, min, max, cap), in one write.
class SetCommand : public Command {
public:
    void define(CLI::App& command, SharedOptions& shared) override;
    int run(const Options& options, std::ostream& out, std::ostream& err) override;

private:
    // The edit of one record, or of the records --where picks, in `file` opened through `files`.
    int setOne(const Options& options, FileStore& files, GameFile& file, RecordKind& kind, int number,
               const QStringList& assignments, std::ostream& out, std::ostream& err) const;
    int setWhere(const Options& options, FileStore& files, GameFile& file, RecordKind& kind,
                 const QStringList& assignments, std::ostream& out, std::ostream& err) const;

    std::string file_, kind_, number_;
    std::vector<std::string> assignments_;
    bool byOfficer_ = false;  // NUMBER names the officer a record is about
};

// Changes many records at once from JSON or CSV of the shape dump writes.
class ApplyCommand : public Command {
public:
    void define(CLI::App& command, SharedOptions& shared) override;
    int run(const Options& options, std::ostream& out, std::ostream& err) override;

private:
    std::string file_, edits_;
};

// The records and fields that differ between two files of one kind.
class DiffCommand : public Command {
public:
    void define(CLI::App& command, SharedOptions& shared) override;
    int run(const Options& options, std::ostream& out, std::ostream& err) override;

private:
    std::string a_, b_;
};

// Stored values the editor cannot show as they are, and problems of FILE.
class CheckCommand : public Command {
public:
    void define(CLI::App& command, SharedOptions& shared) override;
    int run(const Options& options, std::ostream& out, std::ostream& err) override;

private:
    std::string file_;
};

// Takes ("take") or gives up ("give-up") control of an officer, or forces it into
// the game ("appear"), as the editor's officer view does.
class ControlCommand : public Command {
public:
    void define(CLI::App& command, SharedOptions& shared) override;
    int run(const Options& options, std::ostream& out, std::ostream& err) override;

private:
    std::string file_, action_;
    int officer_ = -1;
};

// The growth forecast of child MEMBER (0..7) of a saved game, as the family view's
// forecast window shows it: a rating, then the room left, per ability.
class ForecastCommand : public Command {
public:
    void define(CLI::App& command, SharedOptions& shared) override;
    int run(const Options& options, std::ostream& out, std::ostream& err) override;

private:
    std::string file_;
    int member_ = -1;
};

// The backups of FILE in the editor's backup folder, newest first: number, time,
// size, "identical" where one holds the bytes FILE has now, and the backup's path.
class BackupsCommand : public Command {
public:
    void define(CLI::App& command, SharedOptions& shared) override;
    int run(const Options& options, std::ostream& out, std::ostream& err) override;

private:
    std::string file_;
};

// Puts BACKUP (its path, or its number as backups shows it) back over FILE through
// the editor's atomic save, which backs up what it replaces.
class RestoreCommand : public Command {
public:
    void define(CLI::App& command, SharedOptions& shared) override;
    int run(const Options& options, std::ostream& out, std::ostream& err) override;

private:
    int restoreFrom(FileStore& files, const QString& backupPath, const QByteArray& bytes, const Options& options,
                    std::ostream& out, std::ostream& err) const;

    std::string file_, backup_;
};

}  // namespace varkel::cli
