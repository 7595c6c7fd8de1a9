#pragma once

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace varkel::cli {

// Exit statuses: done, found something (a difference, a problem), refused.
enum Status { kDone = 0, kFound = 1, kRefused = 2 };

// The options several commands take, as the commands read them.
struct Options {
    QString programFolder;
    QString gameFolder;    // --game-folder
    QString backupFolder;  // empty: the editor's
    QString records;       // --records
    std::optional<QString> where;  // --where: the records a filter picks
    QString output;        // --output
    bool dryRun = false;
    std::optional<int> slot;  // --slot: the player slot whose intimacy levels are records
    bool special = false;     // --special: the levels toward the seven special persons
    bool force = false;       // --force: open a save or system save that does not look like one
    bool noBackup = false;    // --no-backup: write even when no backup can be made
};

// The shared options as CLI11 fills them in while it parses, each added to a
// command with the same name and help wherever it is taken.
class SharedOptions {
public:
    explicit SharedOptions(QString programFolder);

    void addRecords(CLI::App& command, const std::string& help);
    void addWhere(CLI::App& command, const std::string& extraHelp = {});
    void addOutput(CLI::App& command, const std::string& help);
    void addDryRun(CLI::App& command, const std::string& help);
    void addGameFolder(CLI::App& command);
    void addSlot(CLI::App& command);
    void addForce(CLI::App& command);
    void addNoBackup(CLI::App& command);

    // What was typed, once parsed.
    Options options() const;

    // The help of --records: every kind of record there is.
    static const std::string kRecordsHelp;

private:
    Options options_;
    std::string gameFolder_, records_, where_, output_;
    int slot_ = -1;
    std::vector<const CLI::Option*> whereOptions_;
};

}  // namespace varkel::cli
