// pomvella-cli: the window program's work for scripts, without a window.
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/Command.h"
#include "base/Error.h"

namespace pomvella::cli {

int UsageError(const Invocation& invocation, const char* usage)
{
    invocation.err << "usage: pomvella-cli " << usage << '\n';
    return kUsage;
}

namespace {

void PrintHelp(std::ostream& stream)
{
    stream << "usage: pomvella-cli COMMAND [ARGUMENTS]\n\ncommands:\n";
    for (const Command& command : Commands())
        stream << "  " << command.usage << "\n      " << command.summary << '\n';
}

int Dispatch(const std::vector<std::string>& arguments)
{
    if (arguments.empty()) {
        PrintHelp(std::cerr);
        return kUsage;
    }
    const std::string& name = arguments.front();
    if (name == "help" || name == "--help" || name == "-h") {
        PrintHelp(std::cout);
        return kDone;
    }
    for (const Command& command : Commands()) {
        if (name != command.name)
            continue;
        const Invocation invocation{{arguments.begin() + 1, arguments.end()}, std::cin, std::cout, std::cerr};
        try {
            return command.run(invocation);
        } catch (const Error& error) {
            std::cout.flush();
            std::cerr << ErrorBoxText(error.what()) << '\n';
            return kError;
        } catch (const std::exception& error) {
            // Not one of the tool's own errors (memory exhausted, say): still
            // a message and exit status 3 rather than an abort.
            std::cout.flush();
            std::cerr << "pomvella-cli: " << error.what() << '\n';
            return kError;
        }
    }
    std::cerr << "pomvella-cli: unknown command '" << name << "'\n";
    PrintHelp(std::cerr);
    return kUsage;
}

}  // namespace
}  // namespace pomvella::cli

int main(int argc, char** argv)
{
    return pomvella::cli::Dispatch(std::vector<std::string>(argv + 1, argv + argc));
}
