#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace pomvella {

inline constexpr std::size_t kNadHeaderSize = 223;
inline constexpr std::size_t kNadTrailerSize = 12;
using NadHeaderBytes = std::array<std::uint8_t, kNadHeaderSize>;
using NadTrailerBytes = std::array<std::uint8_t, kNadTrailerSize>;

namespace nad_layout {
// The file this header describes: header, info header, 256-entry colour table,
// 186 rows of 200 bytes, trailer.
inline constexpr std::uint32_t kInfoHeaderOffset = 223;
inline constexpr std::uint32_t kPixelOffset = 223 + 40 + 1024;                // 1287
inline constexpr std::uint32_t kPictureHeight = 186;
inline constexpr std::uint32_t kTrailerOffset = kPixelOffset + 200 * 186;     // 38487
inline constexpr std::uint32_t kFileSize = kTrailerOffset + kNadTrailerSize;  // 38499
inline constexpr std::uint32_t kRecordOffset = 60;
inline constexpr std::uint32_t kRecordSize = 32;
inline constexpr std::uint32_t kEmptyBlockSize = 3;
}  // namespace nad_layout

// The fixed header of "000.NAD". Layout (little-endian 32-bit words):
//   0  "NANI"          4  11           8  file size 38499      12  48 zero bytes
//   60, 92, 124, 156, 188: five 32-bit-word records
//      +0 info header offset 223   +4 pixel offset 1287   +8 height 186   +12 0
//      +16 offset of a 3-byte zero block: 220 for record 1 (the header's own
//          last three bytes), then the trailer's four 3-byte pieces
//      +20 3                        +24 0                  +28 0
//   220 three zero bytes
constexpr NadHeaderBytes MakeNadHeaderTemplate()
{
    using namespace nad_layout;
    NadHeaderBytes header{};
    auto put = [&header](std::size_t offset, std::uint32_t value) {
        for (std::size_t i = 0; i < 4; ++i)
            header[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    header[0] = 'N';
    header[1] = 'A';
    header[2] = 'N';
    header[3] = 'I';
    put(4, 11);
    put(8, kFileSize);
    for (std::uint32_t record = 0; record < 5; ++record) {
        const std::size_t base = kRecordOffset + record * kRecordSize;
        put(base + 0, kInfoHeaderOffset);
        put(base + 4, kPixelOffset);
        put(base + 8, kPictureHeight);
        put(base + 16, record == 0 ? 220 : kTrailerOffset + (record - 1) * kEmptyBlockSize);
        put(base + 20, kEmptyBlockSize);
    }
    return header;
}

inline constexpr NadHeaderBytes kNadHeaderTemplate = MakeNadHeaderTemplate();
inline constexpr NadTrailerBytes kNadTrailerTemplate{};

}  // namespace pomvella
