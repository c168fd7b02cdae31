#pragma once

#include <cstdint>
#include <filesystem>

#include "imaging/Picture.h"

namespace pomvella {

// Extraction flags the caller may pass. The scaler never draws a border and
// always averages exactly, so both are accepted and change nothing.
inline constexpr std::uint32_t kThumbnailNoBorder = 0x100;
inline constexpr std::uint32_t kThumbnailQuality = 0x200;

// Loads the BMP file at path (8 or 24 bits per pixel) and scales it with
// ScaleAreaAverage to the width and height that picture has on entry; picture
// then holds the result as a Bgr24 picture. When the file cannot be read (or
// memory runs out) the result is false and picture stays as it was: the
// caller goes on with what it holds, so no error leaves this function.
bool GetShellThumbnail(const std::filesystem::path& path, Picture& picture, std::uint32_t flags);

}  // namespace pomvella
