// varkel-cli: look at, dump, change, compare and check the game's files without a window.
#include "cli_commands.h"

#include <CLI/CLI.hpp>

#include <QCoreApplication>

#include <iostream>
#include <string>
#include <vector>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

using namespace varkel::cli;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("varkel-editor"));  // shares the editor's backups

    CLI::App cli{"Looks at, dumps, changes, compares and checks the files of a Varkel game folder."};
    cli.set_version_flag("--version", VARKEL_VERSION_STRING);
    cli.require_subcommand(1);
    // Options are "--name" everywhere: a path that starts with "/" is no Windows-style option.
    cli.allow_windows_style_options(false);
    Options options;
    options.programFolder = QCoreApplication::applicationDirPath();
    std::string gameFolder, records, format = "json", output;
    std::vector<int> only;
    std::string file, second, kind;
    int number = -1;
    std::vector<std::string> assignments;
    std::string numberText, where;
    const std::string kWhereHelp =
        "only the records whose values match EXPR: conditions joined by spaces, all of which must hold, each FIELD OP "
        "VALUE with FIELD a key or caption (or number, name, or a text key such as force_text), OP one of = != < <= "
        "> >= ~ (contains), VALUE a number (7.5 for halves), a list text as dump's _text shows it or a name; a number "
        "naming another record compares by its name when VALUE is none. E.g. '武力>=90 身份=在野', "
        "'勢力=曹操 忠誠<60', '姓名~孫', 'loyalty<60'";
    const std::string kGameFolderHelp =
        "the game folder whose d_sce.vk gives a saved game its city names and treasures (default: the editor's)";
    const std::string kOutputHelp =
        "write the result here instead of over FILE (refused when the edit changes another file too: the scenario "
        "or the biographies)";
    const std::string kRecordsHelp =
        "officers (default for a saved game), cities (the 50 cities: corps, head, bandits and disasters; a new head "
        "is a head change, the old head becoming an ordinary officer), forces (the 68 forces: state name, court rank, "
        "technology, troop types and siege machines), tables, family (a saved game's 16 members: children 0..7 with "
        "their biographies, spouses 8..15), relations (the 256 relationships: parties a, b, c and type, read from copy 0, "
        "stored into all eight copies), intimacy (with --slot D: the levels of that slot's officer, numbered by "
        "position), treasures, or newofficers (a system save's, with the biographies of the RDText.vk beside it)";
    const std::string kSlotHelp =
        "the player slot 0..7 whose intimacy levels are records (kind intimacy): one per position the person map "
        "names, numbered by position";
    const std::string kSpecialHelp = "with --slot: the levels toward the seven special persons (kind special_intimacy)";
    int slot = -1;
    bool special = false;
    const std::string kForceHelp =
        "read a saved game or system save that does not look like one (a month above 12, a person map or player slot "
        "naming no officer, a new officer's face beyond the bank), which is refused otherwise";
    auto addSlot = [&](CLI::App* command) {
        auto* slotOption = command->add_option("--slot", slot, kSlotHelp)->check(CLI::Range(0, 7));
        command->add_flag("--special", special, kSpecialHelp)->needs(slotOption);
    };

    auto* info = cli.add_subcommand(
        "info", "What FILE is; for a saved game its date, officers, controlled officers and families.");
    info->add_option("FILE", file)->required();

    auto* dump = cli.add_subcommand("dump", "Every record of one kind of FILE, decoded.");
    dump->add_option("FILE", file)->required();
    dump->add_option("--records", records, kRecordsHelp);
    dump->add_option("--only", only, "only these record numbers")->delimiter(',');
    dump->add_option("--where", where, kWhereHelp);
    dump->add_option("--format", format, "json (default), jsonl or csv")
        ->check(CLI::IsMember({"json", "jsonl", "csv"}));
    dump->add_flag("--bom", options.bom,
                   "csv: start with a UTF-8 byte-order mark, so that Excel reads the Chinese as UTF-8");
    dump->add_flag("--captions", options.captions,
                   "csv: head the columns with their captions (忠誠) instead of their keys (loyalty)");
    dump->add_option("--game-folder", gameFolder, kGameFolderHelp);
    addSlot(dump);

    auto* set = cli.add_subcommand(
        "set", "Changes fields of one record, as the editor's Apply does; with --where, of every record it picks.");
    set->add_option("FILE", file)->required();
    set->add_option("KIND", kind,
                    "officer, city, force, family_member, relation, intimacy (with --slot), treasure or "
                    "new_officer")
        ->required();
    set->add_option("NUMBER", numberText,
                    "the record's number as dump shows it (660..759 for a new officer, the "
                    "position for intimacy); left out with --where");
    set->add_option("FIELD=VALUE", assignments,
                    "e.g. type=結義 a=12 for a relation, level=敬愛 (or 0..31) for intimacy, head=OFFICER for a city, "
                    "technology=8 elephants=1 for a force. With --where a number field also takes FIELD=+N and "
                    "FIELD=-N (or FIELD+=N, FIELD-=N), FIELD=*P% (a share, rounded), FIELD=min, FIELD=max (its "
                    "limits) and FIELD=cap (up to the record's FIELD_cap, family children). Every number is clamped "
                    "to its field's limits, or to the most the record holds (loyalty=200 stores 100, money=70000 "
                    "65535), and the clamp is reported. Fields by key or caption: loyalty=+10, 忠誠=max");
    set->add_option("--where", where,
                    kWhereHelp + " (every record when empty); changes each record it picks, "
                                 "lists refusals on stderr, exits 2 when none could change");
    set->add_option("--output", output, kOutputHelp);
    set->add_flag("--dry-run", options.dryRun, "show the changes, write nothing");
    set->add_option("--game-folder", gameFolder, kGameFolderHelp);
    addSlot(set);
    set->add_flag("--by-officer", options.byOfficer,
                  "NUMBER is the officer the record is about, not its position (intimacy: set SAVE intimacy 123 "
                  "level=敬愛 --slot 0 --by-officer)");

    auto* apply = cli.add_subcommand(
        "apply", "Changes many records at once from JSON or CSV of the shape dump (or the editor's export) writes.");
    apply->add_option("FILE", file)->required();
    apply->add_option("EDITS", second,
                      "a JSON array or object, or JSON lines (when it starts with [ or {); else CSV with a header of "
                      "keys or captions, UTF-8 with or without a byte-order mark, columns left out kept as they are")
        ->required();
    apply->add_option("--output", output, kOutputHelp);
    apply->add_flag("--dry-run", options.dryRun, "show the changes, write nothing");
    apply->add_option("--game-folder", gameFolder, kGameFolderHelp);
    addSlot(apply);

    auto* diff = cli.add_subcommand("diff", "The records and fields that differ between two files of one kind.");
    diff->add_option("A", file)->required();
    diff->add_option("B", second)->required();
    diff->add_option("--records", records, "only the records of this kind: " + kRecordsHelp);
    diff->add_option("--game-folder", gameFolder, kGameFolderHelp);
    addSlot(diff);

    auto* check =
        cli.add_subcommand("check", "Stored values the editor cannot show as they are, and problems of FILE.");
    check->add_option("FILE", file)->required();
    check->add_option("--records", records, "only the records of this kind: " + kRecordsHelp);
    check->add_option("--game-folder", gameFolder, kGameFolderHelp);
    addSlot(check);

    std::string action;
    auto* control = cli.add_subcommand(
        "control", "Takes or gives up control of an officer, or forces it into the game, as the editor does.");
    control->add_option("FILE", file)->required();
    control->add_option("ACTION", action, "take, give-up or appear")
        ->required()
        ->check(CLI::IsMember({"take", "give-up", "appear"}));
    control->add_option("OFFICER", number, "officer number")->required();
    control->add_option("--output", output, "write the result here instead of over FILE");
    control->add_flag("--dry-run", options.dryRun, "show the change, write nothing");

    auto* forecast =
        cli.add_subcommand("forecast", "The growth forecast of a child of a saved game, as the family view shows it.");
    forecast->add_option("FILE", file)->required();
    forecast
        ->add_option("MEMBER", number,
                     "the child's member number, 0..7; it needs a name, a controlled officer in "
                     "its player slot and an age of 14 or less")
        ->required();

    auto* backups = cli.add_subcommand(
        "backups", "The backups of FILE, newest first: time, size, whether one holds FILE's bytes now, and path.");
    backups->add_option("FILE", file)->required();

    auto* restore = cli.add_subcommand(
        "restore", "Puts a backup of FILE back over it through the editor's atomic save, backing up what it replaces.");
    restore->add_option("FILE", file)->required();
    restore->add_option("BACKUP", second, "the backup's path, or its number as backups lists it")->required();
    restore->add_flag("--dry-run", options.dryRun, "show what would be restored, write nothing");

    for (CLI::App* command : {info, dump, set, apply, diff, check, control, forecast, restore})
        command->add_flag("--force", options.force, kForceHelp);
    for (CLI::App* command : {set, apply, control, restore})
        command->add_flag("--no-backup", options.noBackup,
                          "write even when no backup can be made (the backup folder is unsafe or full)");

#ifdef Q_OS_WIN
    // CLI11 reads UTF-8. The ANSI argv has already turned Chinese file names and filters into "?"; Qt takes
    // the arguments from the wide command line. Output is UTF-8 with the same bytes as elsewhere, on the
    // console too.
    std::vector<std::string> typed;
    for (const QString& argument : QCoreApplication::arguments())
        typed.push_back(argument.toStdString());
    std::vector<char*> utf8Arguments;
    for (std::string& argument : typed)
        utf8Arguments.push_back(argument.data());
    utf8Arguments.push_back(nullptr);
    argc = int(typed.size());
    argv = utf8Arguments.data();
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int shown = cli.exit(e);
        return shown == 0 ? kDone : kRefused;
    }
    options.gameFolder = QString::fromStdString(gameFolder);
    options.records = QString::fromStdString(records);
    options.format = QString::fromStdString(format);
    options.output = QString::fromStdString(output);
    options.only = only;
    if ((*dump && dump->count("--where")) || (*set && set->count("--where")))
        options.where = QString::fromStdString(where);
    if (slot >= 0)
        options.slot = slot;
    options.special = special;
    const QString path = QString::fromStdString(file);

    if (*info)
        return Info(path, options, std::cout, std::cerr);
    if (*dump)
        return Dump(path, options, std::cout, std::cerr);
    if (*set) {
        // NUMBER takes the first word after KIND; with --where that is an assignment.
        QStringList typed;
        if (options.where && !numberText.empty())
            typed << QString::fromStdString(numberText);
        for (const auto& a : assignments)
            typed << QString::fromStdString(a);
        if (!options.where && numberText.empty()) {
            std::cerr << "NUMBER is required (or --where EXPR)\nRun with --help for more information.\n";
            return kRefused;
        }
        if (typed.isEmpty()) {
            std::cerr << "FIELD=VALUE is required\nRun with --help for more information.\n";
            return kRefused;
        }
        if (options.where)
            return SetWhere(path, QString::fromStdString(kind), typed, options, std::cout, std::cerr);
        bool isNumber = false;
        number = QString::fromStdString(numberText).toInt(&isNumber);
        if (!isNumber) {
            std::cerr << "NUMBER: " << numberText << " is no record number\nRun with --help for more information.\n";
            return kRefused;
        }
        return Set(path, QString::fromStdString(kind), number, typed, options, std::cout, std::cerr);
    }
    if (*apply)
        return Apply(path, QString::fromStdString(second), options, std::cout, std::cerr);
    if (*backups)
        return Backups(path, options, std::cout, std::cerr);
    if (*restore)
        return Restore(path, QString::fromStdString(second), options, std::cout, std::cerr);
    if (*diff)
        return Diff(path, QString::fromStdString(second), options, std::cout, std::cerr);
    if (*forecast)
        return Forecast(path, number, options, std::cout, std::cerr);
    if (*control)
        return Control(path, QString::fromStdString(action), number, options, std::cout, std::cerr);
    return Check(path, options, std::cout, std::cerr);
}
