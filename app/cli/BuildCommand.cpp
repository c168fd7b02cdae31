// pomvella-cli build INDEX HOST [--yes] [--launch]: the run button without a
// window. The same checks in the same order, the same messages (on standard
// error), the confirmation read from standard input.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <istream>
#include <ostream>

#include "app/cli/Command.h"
#include "app/run/HostLauncher.h"
#include "app/run/RunCommand.h"
#include "base/ExecutableFolder.h"
#include "base/Platform.h"

namespace pomvella::cli {
namespace {

constexpr const char* kBuildUsage = "build INDEX HOST [--yes] [--launch]";

bool IsYes(std::string answer)
{
    std::transform(answer.begin(), answer.end(), answer.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    answer.erase(0, answer.find_first_not_of(" \t\r"));
    answer.erase(answer.find_last_not_of(" \t\r") + 1);
    return answer == "y" || answer == "yes";
}

std::filesystem::path WineOnPath()
{
    const char* searchPath = std::getenv("PATH");
    if (searchPath == nullptr)
        return {};
    std::string_view rest(searchPath);
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find(':'), rest.size());
        const std::filesystem::path candidate = std::filesystem::path(rest.substr(0, end)) / "wine";
        std::error_code error;
        if (end > 0 && std::filesystem::is_regular_file(candidate, error))
            return candidate;
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return {};
}

// Answers the run command's questions from the terminal and remembers how the
// run ended, which becomes the exit status.
class TerminalDialogs : public RunDialogs {
public:
    TerminalDialogs(const Invocation& invocation, bool assumeYes, bool launch)
        : invocation_(invocation), assumeYes_(assumeYes), launch_(launch)
    {
    }

    bool ShowMessage(RunMessage message) override
    {
        switch (message) {
        case RunMessage::IndexMissing:
        case RunMessage::DataMissing:
        case RunMessage::HostMissing:
            status_ = kUsage;
            break;
        case RunMessage::Confirm:
            return Confirm();
        case RunMessage::NotPackArchive:
            status_ = kNotPackArchive;
            break;
        case RunMessage::Success:
            status_ = kDone;
            Print(message);
            return launch_;
        }
        Print(message);
        return true;
    }

    void LaunchHost(const std::filesystem::path& host) override
    {
#if defined(_WIN32)
        const bool onWindows = true;
#else
        const bool onWindows = false;
#endif
        const HostCommand command = HostLaunchCommand(host, onWindows, WineOnPath());
        platform::StartDetached(command.program, command.arguments);  // a failed start is not reported
    }

    int Status() const { return status_; }

private:
    bool Confirm()
    {
        status_ = kNotConfirmed;
        if (!assumeYes_) {
            Print(RunMessage::Confirm);
            invocation_.err << "[y/N] " << std::flush;
            std::string answer;
            if (!std::getline(invocation_.in, answer) || !IsYes(answer))
                return false;
        }
        return true;
    }

    void Print(RunMessage message) { invocation_.err << MessageTextOf(message).text << '\n'; }

    const Invocation& invocation_;
    bool assumeYes_;
    bool launch_;
    int status_ = kDone;
};

}  // namespace

int RunBuildCommand(const Invocation& invocation)
{
    std::vector<std::string> paths;
    bool assumeYes = false;
    bool launch = false;
    for (const std::string& argument : invocation.arguments) {
        if (argument == "--yes")
            assumeYes = true;
        else if (argument == "--launch")
            launch = true;
        else if (argument.starts_with("--"))
            return UsageError(invocation, kBuildUsage);
        else
            paths.push_back(argument);
    }
    if (paths.size() != 2)
        return UsageError(invocation, kBuildUsage);

    TerminalDialogs dialogs(invocation, assumeYes, launch);
    RunState state;
    ::pomvella::RunBuildCommand(paths[0], paths[1], state, dialogs, &BuildCharacterFiles, kNadHeaderTemplate,
                    kNadTrailerTemplate, ExecutableFolder());
    return dialogs.Status();
}

}  // namespace pomvella::cli
