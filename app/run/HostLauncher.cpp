#include "app/run/HostLauncher.h"

#include <system_error>

namespace pomvella {

namespace {

bool EndsInExe(const std::filesystem::path& host)
{
    const std::filesystem::path::string_type& text = host.native();
    if (text.size() < 4)
        return false;
    const char* const exe = ".exe";
    for (std::size_t i = 0; i < 4; ++i) {
        auto c = text[text.size() - 4 + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<decltype(c)>(c - 'A' + 'a');
        if (c != static_cast<decltype(c)>(exe[i]))
            return false;
    }
    return true;
}

}  // namespace

bool NeedsWine(const std::filesystem::path& host, bool systemIsWindows)
{
    return !systemIsWindows && EndsInExe(host);
}

HostCommand HostLaunchCommand(const std::filesystem::path& host, bool systemIsWindows,
                              const std::filesystem::path& winePath)
{
    // A bare name would be looked up on the PATH; the user named a file.
    std::error_code error;
    std::filesystem::path file = std::filesystem::absolute(host, error);
    if (error)
        file = host;
    if (NeedsWine(file, systemIsWindows) && !winePath.empty())
        return {winePath, {file}};
    return {file, {}};
}

}  // namespace pomvella
