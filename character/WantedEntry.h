#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "imaging/Picture.h"

namespace pomvella {

struct Point {
    int x = 0;
    int y = 0;
};

// How one wanted texture entry becomes part of the character set: the crop
// taken from the texture, the size it is scaled to, where its black background
// is flood-filled lime (in scaled-picture coordinates, in this order), and the
// file it ends up in.
struct WantedEntry {
    std::string_view entryName;
    int cropWidth = 0;
    int cropHeight = 0;
    Rect sourceRect;
    int scaledWidth = 0;
    int scaledHeight = 0;
    std::span<const Point> seeds;
    std::optional<Rect> extraFill;
    std::string_view outputName;
    bool isNadPicture = false;  // handed to WriteNadFile instead of saved as BMP
};

// The four entries the character set is made of.
std::span<const WantedEntry> WantedEntries();

// The row whose entry name equals name exactly (same bytes, letter case
// counts, nothing trimmed), or nullptr.
const WantedEntry* FindWantedEntry(std::string_view name);

}  // namespace pomvella
