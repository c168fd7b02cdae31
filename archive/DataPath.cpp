#include "archive/DataPath.h"

namespace pomvella {

std::filesystem::path ChangeExtension(const std::filesystem::path& path, std::string_view extension)
{
    using Native = std::filesystem::path::string_type;
    Native name = path.filename().native();
    const auto dot = name.rfind(static_cast<std::filesystem::path::value_type>('.'));
    if (dot != Native::npos)
        name.erase(dot);
    std::filesystem::path result = path;
    result.replace_filename(std::filesystem::path(name) += std::filesystem::path(extension));
    return result;
}

std::filesystem::path DataPathForIndex(const std::filesystem::path& indexPath)
{
    return ChangeExtension(indexPath, ".001");
}

}  // namespace pomvella
