#include "app/run/PathRules.h"

#include <system_error>

namespace pomvella {

namespace {

using Native = std::filesystem::path::string_type;
using NativeChar = std::filesystem::path::value_type;

// Windows also accepts "/" and ends a drive name with ":"; elsewhere only "/"
// separates. The preferred separator tells which kind of system this is.
constexpr bool kDosPaths = std::filesystem::path::preferred_separator == NativeChar('\\');

bool EndsComponent(NativeChar c)
{
    if (c == NativeChar('/'))
        return true;
    return kDosPaths && (c == NativeChar('\\') || c == NativeChar(':'));
}

}  // namespace

std::filesystem::path PathFromText(std::string_view text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::filesystem::path ChangeFileExt(const std::filesystem::path& path, std::string_view extension)
{
    Native text = path.native();
    std::size_t cut = text.size();
    for (std::size_t i = text.size(); i > 0; --i) {
        const NativeChar c = text[i - 1];
        if (EndsComponent(c))
            break;
        if (c == NativeChar('.')) {
            cut = i - 1;
            break;
        }
    }
    text.erase(cut);
    // "." and the digits are ASCII: the same in every native encoding.
    for (const char c : extension)
        text.push_back(static_cast<NativeChar>(c));
    return std::filesystem::path(std::move(text));
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
