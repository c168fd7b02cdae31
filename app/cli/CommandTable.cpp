#include "app/cli/Command.h"

namespace pomvella::cli {

// Each command lives in a file of its own; its entry point is declared here.

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {
    };
    return commands;
}

}  // namespace pomvella::cli
