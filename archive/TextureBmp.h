#pragma once

#include <filesystem>

#include "archive/PackEntry.h"
#include "base/Bytes.h"
#include "base/InputFile.h"

namespace pomvella {

// A BM2 texture entry (little-endian):
//   entry offset  size        content
//   0             54          BMP file header and info header, fields rewritten
//   54            10          further header bytes, dropped
//   64            1024        palette: 256 x (red, green, blue, alpha), block-interleaved
//   1088          size - 1088 pixel rows, one byte a pixel, top row first
// The BMP file made of it is 10 bytes shorter: the 54 header bytes, 256
// RGBQUADs (blue, green, red, 0) at 1078 - 1024 = 54, and the rows from 1078
// on, bottom row first.
inline constexpr std::size_t kTextureEntryMinimumSize = 1088;

// Converts the bytes of one BM2 entry into the bytes of the 8-bit BMP file.
// Entries shorter than 1088 bytes and pixel data shorter than its rows (with
// two rows or more) raise the read error.
Bytes ConvertTextureEntry(ByteSpan entry);

// Reads the entry's bytes from the data file and converts them. The entry's
// offset and size are checked against the data file before anything is
// allocated: a negative offset or size, or an entry that reaches past the end
// of the file, raises the read error.
Bytes ReadTextureBmp(InputFile& dataStream, const PackEntry& entry);

// Converts the entry and writes textureFolder / (entry name + ".bmp"), so
// "C00200120.BM2" becomes "C00200120.BM2.bmp", replacing any file of that
// name atomically. Returns that path.
std::filesystem::path WriteTextureBmp(InputFile& dataStream, const PackEntry& entry,
                                      const std::filesystem::path& textureFolder);

}  // namespace pomvella
