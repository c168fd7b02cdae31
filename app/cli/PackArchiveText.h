#pragma once

#include <string>
#include <string_view>

namespace pomvella::cli {

// Message 5 of the run command: the index does not begin with "PACK".
inline constexpr std::string_view kNotToHeart2FileMessage = "ToHeart2ファイルではありませんでした　　";

// An entry name for a line of text: bytes outside printable ASCII (0x20 to
// 0x7E) become \xHH with upper-case hex digits.
std::string PrintableEntryName(std::string_view name);

}  // namespace pomvella::cli
