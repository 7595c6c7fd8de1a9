#pragma once

#include "options.h"

#include <iosfwd>
#include <memory>
#include <vector>

namespace varkel::cli {

// One subcommand of varkel-cli: the arguments it takes and what it does with them.
class Command {
public:
    virtual ~Command() = default;

    // Adds the command's arguments and its options to `command`, bound to members
    // CLI11 fills in as it parses; the options other commands take too go through
    // `shared`.
    virtual void define(CLI::App& command, SharedOptions& shared) = 0;
    // Runs the command as typed: results to `out`, complaints one line each to
    // `err`. The exit status.
    virtual int run(const Options& options, std::ostream& out, std::ostream& err) = 0;
};

// A command as `varkel-cli --help` lists it.
struct CommandEntry {
    const char* name;
    const char* description;
    std::unique_ptr<Command> (*make)();
    bool takesForce;  // reads a saved game or system save that may not look like one
    bool writes;      // takes --no-backup
};

// Every command, in the order --help lists them.
const std::vector<CommandEntry>& Commands();

}  // namespace varkel::cli
