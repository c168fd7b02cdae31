#pragma once

#include <filesystem>

#include "base/Bytes.h"
#include "imaging/Picture.h"

namespace pomvella {

// A 24-bit BMP file: 14-byte file header, 40-byte info header (resolution 0,
// no colour table), rows bottom-up, each padded with zeros to 4 bytes. An
// Indexed8 picture is written through its palette.
Bytes EncodeBmp24(const Picture& picture);

// An 8-bit BMP file of an Indexed8 picture: headers as above with bfOffBits
// 1078 and biClrUsed 256, then 256 colour entries (blue, green, red, 0; zero
// past the palette), then the rows bottom-up padded with zeros to 4 bytes.
Bytes EncodeBmp8(const Picture& picture);

// Both replace the file atomically.
void SaveBmp24(const Picture& picture, const std::filesystem::path& path);
void SaveBmp8(const Picture& picture, const std::filesystem::path& path);

}  // namespace pomvella
