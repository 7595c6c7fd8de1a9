#include "options.h"

#include <CLI/CLI.hpp>

namespace varkel::cli {

const std::string SharedOptions::kRecordsHelp =
    "officers (default for a saved game), cities (the 50 cities: corps, head, bandits and disasters; a new head "
    "is a head change, the old head becoming an ordinary officer), forces (the 68 forces: state name, court rank, "
    "technology, troop types and siege machines), tables, family (a saved game's 16 members: children 0..7 with "
    "their biographies, spouses 8..15), relations (the 256 relationships: parties a, b, c and type, read from copy 0, "
    "stored into all eight copies), intimacy (with --slot D: the levels of that slot's officer, numbered by "
    "position), treasures, or newofficers (a system save's, with the biographies of the RDText.vk beside it)";

SharedOptions::SharedOptions(QString programFolder)
{
    options_.programFolder = std::move(programFolder);
}

void SharedOptions::addRecords(CLI::App& command, const std::string& help)
{
    command.add_option("--records", records_, help);
}

void SharedOptions::addWhere(CLI::App& command, const std::string& extraHelp)
{
    static const std::string kWhereHelp =
        "only the records whose values match EXPR: conditions joined by spaces, all of which must hold, each FIELD OP "
        "VALUE with FIELD a key or caption (or number, name, or a text key such as force_text), OP one of = != < <= "
        "> >= ~ (contains), VALUE a number (7.5 for halves), a list text as dump's _text shows it or a name; a number "
        "naming another record compares by its name when VALUE is none. E.g. '武力>=90 身份=在野', "
        "'勢力=曹操 忠誠<60', '姓名~孫', 'loyalty<60'";
    whereOptions_.push_back(command.add_option("--where", where_, kWhereHelp + extraHelp));
}

void SharedOptions::addOutput(CLI::App& command, const std::string& help)
{
    command.add_option("--output", output_, help);
}

void SharedOptions::addDryRun(CLI::App& command, const std::string& help)
{
    command.add_flag("--dry-run", options_.dryRun, help);
}

void SharedOptions::addGameFolder(CLI::App& command)
{
    command.add_option(
        "--game-folder", gameFolder_,
        "the game folder whose d_sce.vk gives a saved game its city names and treasures (default: the editor's)");
}

void SharedOptions::addSlot(CLI::App& command)
{
    auto* slot = command
                     .add_option("--slot", slot_,
                                 "the player slot 0..7 whose intimacy levels are records (kind intimacy): one per "
                                 "position the person map names, numbered by position")
                     ->check(CLI::Range(0, 7));
    command.add_flag("--special", options_.special, "with --slot: the levels toward the seven special persons (kind "
                                                    "special_intimacy)")
        ->needs(slot);
}

void SharedOptions::addForce(CLI::App& command)
{
    command.add_flag("--force", options_.force,
                     "read a saved game or system save that does not look like one (a month above 12, a person map "
                     "or player slot naming no officer, a new officer's face beyond the bank), which is refused "
                     "otherwise");
}

void SharedOptions::addNoBackup(CLI::App& command)
{
    command.add_flag("--no-backup", options_.noBackup,
                     "write even when no backup can be made (the backup folder is unsafe or full)");
}

Options SharedOptions::options() const
{
    Options options = options_;
    options.gameFolder = QString::fromStdString(gameFolder_);
    options.records = QString::fromStdString(records_);
    options.output = QString::fromStdString(output_);
    for (const CLI::Option* where : whereOptions_)
        if (where->count() > 0)
            options.where = QString::fromStdString(where_);
    if (slot_ >= 0)
        options.slot = slot_;
    return options;
}

}  // namespace varkel::cli
