// varkel-cli: look at, dump, change, compare and check the game's files without a window.
#include "command.h"

#include <CLI/CLI.hpp>

#include <QCoreApplication>

#include <iostream>
#include <memory>
#include <string>
#include <utility>
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
    SharedOptions shared(QCoreApplication::applicationDirPath());
    std::vector<std::pair<CLI::App*, std::unique_ptr<Command>>> commands;
    for (const CommandEntry& entry : Commands()) {
        CLI::App* subcommand = cli.add_subcommand(entry.name, entry.description);
        auto command = entry.make();
        command->define(*subcommand, shared);
        if (entry.takesForce)
            shared.addForce(*subcommand);
        if (entry.writes)
            shared.addNoBackup(*subcommand);
        commands.emplace_back(subcommand, std::move(command));
    }

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
    for (const auto& [subcommand, command] : commands)
        if (*subcommand)
            return command->run(shared.options(), std::cout, std::cerr);
    return kRefused;  // CLI11 requires one command
}
