#pragma once

#include <cstddef>
#include <cstdint>

namespace pomvella::bmp {

// File header (14 bytes):
//   0  2  bfType       "BM"
//   2  4  bfSize       size of the whole file
//   6  2  bfReserved1
//   8  2  bfReserved2
//  10  4  bfOffBits    offset of the first pixel row
// Info header (40 bytes or more, from offset 14):
//  14  4  biSize       length of the info header
//  18  4  biWidth
//  22  4  biHeight     positive: rows bottom-up; negative: top-down
//  26  2  biPlanes     1
//  28  2  biBitCount   8 or 24
//  30  4  biCompression 0 (none)
//  34  4  biSizeImage
//  38  4  biXPelsPerMeter
//  42  4  biYPelsPerMeter
//  46  4  biClrUsed    colour-table entries (8-bit: 0 means 256)
//  50  4  biClrImportant
// Then the colour table (4 bytes an entry: blue, green, red, 0) and the rows.
inline constexpr std::size_t kFileHeaderSize = 14;
inline constexpr std::size_t kInfoHeaderSize = 40;
inline constexpr std::size_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;
inline constexpr std::size_t kColourEntrySize = 4;
inline constexpr std::uint32_t kNoCompression = 0;

// Bytes of one stored row: width × bits rounded up to whole 32-bit words.
// Exact for every width an int can hold.
inline constexpr std::uint64_t StoredRowBytes(std::uint64_t width, std::uint64_t bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

}  // namespace pomvella::bmp
