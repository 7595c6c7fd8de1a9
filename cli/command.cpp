#include "commands.h"

namespace varkel::cli {

namespace {

template <typename C>
std::unique_ptr<Command> make()
{
    return std::make_unique<C>();
}

}  // namespace

const std::vector<CommandEntry>& Commands()
{
    static const std::vector<CommandEntry> commands = {
        {"info", "What FILE is; for a saved game its date, officers, controlled officers and families.",
         make<InfoCommand>, true, false},
        {"dump", "Every record of one kind of FILE, decoded.", make<DumpCommand>, true, false},
        {"set",
         "Changes fields of one record, as the editor's Apply does; with --where, of every record it picks.",
         make<SetCommand>, true, true},
        {"apply",
         "Changes many records at once from JSON or CSV of the shape dump (or the editor's export) writes.",
         make<ApplyCommand>, true, true},
        {"diff", "The records and fields that differ between two files of one kind.", make<DiffCommand>, true, false},
        {"check", "Stored values the editor cannot show as they are, and problems of FILE.", make<CheckCommand>, true,
         false},
        {"control", "Takes or gives up control of an officer, or forces it into the game, as the editor does.",
         make<ControlCommand>, true, true},
        {"forecast", "The growth forecast of a child of a saved game, as the family view shows it.",
         make<ForecastCommand>, true, false},
        {"backups", "The backups of FILE, newest first: time, size, whether one holds FILE's bytes now, and path.",
         make<BackupsCommand>, false, false},
        {"restore",
         "Puts a backup of FILE back over it through the editor's atomic save, backing up what it replaces.",
         make<RestoreCommand>, true, true},
    };
    return commands;
}

}  // namespace varkel::cli
