#include "app/cli/PackArchiveText.h"

namespace pomvella::cli {

std::string PrintableEntryName(std::string_view name)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(name.size());
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte <= 0x7E) {
            text += c;
        } else {
            text += "\\x";
            text += kHex[byte >> 4];
            text += kHex[byte & 0xF];
        }
    }
    return text;
}

}  // namespace pomvella::cli
