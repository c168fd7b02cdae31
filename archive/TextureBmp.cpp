#include "archive/TextureBmp.h"

#include <algorithm>
#include <array>
#include <string>

#include "base/AtomicFile.h"
#include "base/MemoryStream.h"

namespace pomvella {
namespace {

constexpr std::size_t kEntryHeaderBlockSize = 64;  // the 54 BMP header bytes and 10 more
constexpr std::size_t kBmpHeaderSize = 54;
constexpr std::size_t kPaletteEntries = 256;
constexpr std::size_t kFileHeaderBlockSize = kBmpHeaderSize + 4 * kPaletteEntries;  // 1078

// Fields of the 54-byte header, by file offset.
constexpr std::size_t kReserved1 = 6;
constexpr std::size_t kReserved2 = 8;
constexpr std::size_t kOffBits = 10;
constexpr std::size_t kInfoSize = 14;
constexpr std::size_t kWidth = 18;
constexpr std::size_t kHeight = 22;
constexpr std::size_t kSizeImage = 34;

void RewriteHeaderFields(MutableByteSpan header, std::size_t streamSize)
{
    StoreU16(header, kReserved1, 0);
    StoreU16(header, kReserved2, 0);
    // Only the low half of bfOffBits loses the 10 dropped bytes; the high half
    // is kept as it stands.
    StoreU16(header, kOffBits, static_cast<std::uint16_t>(LoadU16(header, kOffBits) - 10));
    StoreU32(header, kInfoSize, 40);
    StoreU32(header, kSizeImage, static_cast<std::uint32_t>(streamSize - kFileHeaderBlockSize));
}

// (red, green, blue, alpha) becomes (blue, green, red, 0). Alpha 128 is fully
// opaque; below it the colours are premultiplied, rounding halves upwards.
void ConvertPaletteColours(MutableByteSpan palette)
{
    for (std::size_t index = 0; index < kPaletteEntries; ++index) {
        const MutableByteSpan colour = palette.subspan(4 * index, 4);
        std::swap(colour[0], colour[2]);
        const unsigned alpha = colour[3];
        if (alpha < 128) {
            for (std::size_t c = 0; c < 3; ++c)
                colour[c] = static_cast<std::uint8_t>((colour[c] * alpha + 64) / 128);
        }
        colour[3] = 0;
    }
}

// The texture stores its palette block-interleaved: in each block of 32
// entries, entries 8..15 and 16..23 stand in each other's places.
void ReorderPalette(MutableByteSpan palette)
{
    for (std::size_t block = 0; block < kPaletteEntries; block += 32) {
        const auto first = palette.begin() + static_cast<std::ptrdiff_t>(4 * (block + 8));
        const auto second = palette.begin() + static_cast<std::ptrdiff_t>(4 * (block + 16));
        std::swap_ranges(first, first + 4 * 8, second);
    }
}

// Exchanges row r with row h - 1 - r in place. Rows are w bytes without
// padding and the first begins at 1078 whatever bfOffBits says.
void ReverseRows(MemoryStream& stream, std::uint32_t w, std::uint32_t h)
{
    if (h < 2)
        return;
    // The first exchange already reads the last row, so rows that run past the
    // data fail before anything moves. 64-bit: h * w needs up to 32 bits.
    const std::uint64_t pixelBytes = stream.Size() - kFileHeaderBlockSize;
    if (static_cast<std::uint64_t>(h) * w > pixelBytes)
        throw ReadError();
    Bytes upperRow(w);
    Bytes lowerRow(w);
    for (std::uint32_t r = 1; r <= h / 2; ++r) {
        const std::size_t upper = kFileHeaderBlockSize + static_cast<std::size_t>(r - 1) * w;
        const std::size_t lower = kFileHeaderBlockSize + static_cast<std::size_t>(h - r) * w;
        stream.Seek(upper);
        stream.Read(upperRow);
        stream.Seek(lower);
        stream.Read(lowerRow);
        stream.Seek(lower);
        stream.Write(upperRow);
        stream.Seek(upper);
        stream.Write(lowerRow);
    }
}

// The stream holds entry bytes 0..53 followed by entry bytes 64 onwards.
void RewriteTextureStream(MemoryStream& stream)
{
    std::array<std::uint8_t, kFileHeaderBlockSize> header{};
    stream.Seek(0);
    stream.Read(header);  // an entry of 65..1087 bytes ends here
    RewriteHeaderFields(header, stream.Size());
    const MutableByteSpan palette = MutableByteSpan(header).subspan(kBmpHeaderSize);
    ConvertPaletteColours(palette);
    ReorderPalette(palette);
    stream.Seek(0);
    stream.Write(header);
    ReverseRows(stream, LoadU32(header, kWidth) & 0xFFFFu, LoadU32(header, kHeight) & 0xFFFFu);
}

// An entry of 64 bytes or fewer cannot fill the first copy of its header block.
void RequireHeaderBlock(std::int64_t entrySize)
{
    if (entrySize <= static_cast<std::int64_t>(kEntryHeaderBlockSize))
        throw ReadError();
}

std::filesystem::path TextureFilePath(const std::filesystem::path& textureFolder, const std::string& entryName)
{
    std::filesystem::path path = textureFolder / std::filesystem::path(entryName + ".bmp");
    // An entry name is a file name inside the texture folder, never a way out of it.
    if (entryName.find_first_of("/\\:") != std::string::npos)
        throw FileCreateError(path);
    return path;
}

}  // namespace

Bytes ConvertTextureEntry(ByteSpan entry)
{
    RequireHeaderBlock(static_cast<std::int64_t>(entry.size()));
    MemoryStream stream;
    stream.Write(entry.first(kEntryHeaderBlockSize));
    // The second copy overwrites bytes 54..63: the 10 extra header bytes go.
    stream.Seek(kBmpHeaderSize);
    stream.Write(entry.subspan(kEntryHeaderBlockSize));
    RewriteTextureStream(stream);
    return stream.TakeData();
}

Bytes ReadTextureBmp(InputFile& dataStream, const PackEntry& entry)
{
    if (entry.offset < 0 || entry.size < 0)
        throw ReadError();
    const auto offset = static_cast<std::uint64_t>(entry.offset);
    const auto size = static_cast<std::uint64_t>(entry.size);
    const std::uint64_t fileSize = dataStream.Size();
    if (offset > fileSize || fileSize - offset < size)
        throw ReadError();
    RequireHeaderBlock(entry.size);

    MemoryStream stream;
    dataStream.Seek(offset);
    stream.CopyFrom(dataStream, kEntryHeaderBlockSize);
    dataStream.Seek(offset + kEntryHeaderBlockSize);
    stream.Seek(kBmpHeaderSize);
    stream.CopyFrom(dataStream, static_cast<std::size_t>(size - kEntryHeaderBlockSize));
    RewriteTextureStream(stream);
    return stream.TakeData();
}

std::filesystem::path WriteTextureBmp(InputFile& dataStream, const PackEntry& entry,
                                      const std::filesystem::path& textureFolder)
{
    const std::filesystem::path path = TextureFilePath(textureFolder, entry.name);
    const Bytes bmp = ReadTextureBmp(dataStream, entry);
    ReplaceFileAtomically(path, bmp);
    return path;
}

}  // namespace pomvella
