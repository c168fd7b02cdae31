#include "app/run/PathRules.h"

#include <system_error>

namespace pomvella {

std::filesystem::path PathFromText(std::string_view text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::filesystem::path FolderOf(const std::filesystem::path& path)
{
    return path.parent_path();
}

bool FileExists(const std::filesystem::path& path)
{
    if (path.empty())
        return false;
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace pomvella
