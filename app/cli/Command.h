#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace pomvella::cli {

// Exit statuses of pomvella-cli.
enum ExitStatus : int {
    kDone = 0,
    kNotPackArchive = 1,
    kUsage = 2,      // wrong usage, a failed check of the run command, a missing entry
    kError = 3,      // an error raised during the work
    kNotConfirmed = 4,
};

// What a command gets: its arguments (after the command's name) and the
// three standard streams. Results go to out, messages to err.
struct Invocation {
    std::vector<std::string> arguments;
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

// A command may throw pomvella::Error; the dispatcher prints it the way the
// default error box shows it and exits with kError.
using CommandFunction = int (*)(const Invocation&);

struct Command {
    const char* name;
    const char* usage;  // e.g. "list INDEX"
    const char* summary;
    CommandFunction run;
};

// Prints "usage: pomvella-cli <usage>" to err and returns kUsage.
int UsageError(const Invocation& invocation, const char* usage);

// One entry per command; the table is defined in CommandTable.cpp.
extern const std::vector<Command>& Commands();

}  // namespace pomvella::cli
