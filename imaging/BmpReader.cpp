#include "imaging/BmpReader.h"

#include <cstdint>
#include <limits>
#include <vector>

#include "base/InputFile.h"
#include "imaging/BmpLayout.h"

namespace pomvella {
namespace {

struct BmpHeader {
    std::uint32_t pixelOffset = 0;
    std::uint32_t infoSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
};

// Headers that are cut short are an invalid bitmap, not a read error: the
// file is not a bitmap at all until its headers are complete.
BmpHeader ReadHeader(ByteSpan file)
{
    ByteReader reader(file, &InvalidBitmapError);
    BmpHeader header;
    if (reader.U8() != 'B' || reader.U8() != 'M')
        throw InvalidBitmapError();
    reader.Skip(8);  // bfSize and both reserved fields: nothing relies on them
    header.pixelOffset = reader.U32();
    header.infoSize = reader.U32();
    if (header.infoSize < bmp::kInfoHeaderSize || file.size() - bmp::kFileHeaderSize < header.infoSize)
        throw InvalidBitmapError();
    header.width = reader.I32();
    header.height = reader.I32();
    header.planes = reader.U16();
    header.bitCount = reader.U16();
    header.compression = reader.U32();
    reader.Skip(12);  // biSizeImage and the resolution: the rows are sized from width and height
    header.coloursUsed = reader.U32();
    return header;
}

void CheckSupported(const BmpHeader& header)
{
    if (header.planes != 1 || header.compression != bmp::kNoCompression ||
        (header.bitCount != 8 && header.bitCount != 24))
        throw InvalidBitmapError();
    // INT32_MIN has no positive row count.
    if (header.width < 0 || header.height == std::numeric_limits<std::int32_t>::min())
        throw InvalidBitmapError();
}

// The palette of an 8-bit file, padded with black to 256 entries so that an
// index past the file's table reads as black.
std::vector<Rgb> ReadPalette(ByteSpan file, const BmpHeader& header, std::size_t tableOffset)
{
    const std::uint32_t count = header.coloursUsed == 0 ? 256 : header.coloursUsed;
    if (count > 256)
        throw InvalidBitmapError();
    if (tableOffset > file.size() || file.size() - tableOffset < count * bmp::kColourEntrySize)
        throw InvalidBitmapError();
    std::vector<Rgb> palette(256, kBlack);
    ByteReader reader(file.subspan(tableOffset), &InvalidBitmapError);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t blue = reader.U8();
        const std::uint8_t green = reader.U8();
        const std::uint8_t red = reader.U8();
        reader.Skip(1);
        palette[i] = Rgb{red, green, blue};
    }
    return palette;
}

}  // namespace

Picture DecodeBmp(ByteSpan file)
{
    const BmpHeader header = ReadHeader(file);
    CheckSupported(header);

    const bool indexed = header.bitCount == 8;
    const std::size_t tableOffset = bmp::kFileHeaderSize + header.infoSize;  // within the file: checked above
    std::vector<Rgb> palette;
    std::size_t tableEnd = tableOffset;
    if (indexed) {
        palette = ReadPalette(file, header, tableOffset);
        tableEnd += (header.coloursUsed == 0 ? 256 : header.coloursUsed) * bmp::kColourEntrySize;
    }
    // Pixel rows that start inside the headers or the colour table are a broken file.
    if (header.pixelOffset < tableEnd)
        throw InvalidBitmapError();

    const bool topDown = header.height < 0;
    const std::uint64_t width = static_cast<std::uint64_t>(header.width);
    const std::uint64_t rows = topDown ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(header.height))
                                       : static_cast<std::uint64_t>(header.height);
    const std::uint64_t bytesPerPixel = header.bitCount / 8;
    const std::uint64_t rowStride = bmp::StoredRowBytes(width, header.bitCount);
    const std::uint64_t rowPixels = width * bytesPerPixel;

    // Everything the rows need must be in the file before the picture is
    // allocated. The last row's padding may be missing: nothing reads it.
    // width < 2^31 and rows <= 2^31, so rowStride * (rows - 1) stays below 2^64.
    if (rows > 0 && rowPixels > 0) {
        const std::uint64_t needed = rowStride * (rows - 1) + rowPixels;
        if (header.pixelOffset > file.size() || file.size() - header.pixelOffset < needed)
            throw ReadError();
    }

    const int pictureWidth = header.width;
    const int pictureHeight = static_cast<int>(rows);
    Picture picture(indexed ? PixelFormat::Indexed8 : PixelFormat::Bgr24, pictureWidth, pictureHeight);
    if (indexed)
        picture.SetPalette(std::move(palette));
    if (rowPixels == 0)
        return picture;
    for (int fileRow = 0; fileRow < pictureHeight; ++fileRow) {
        const std::size_t offset = header.pixelOffset + static_cast<std::size_t>(fileRow) * rowStride;
        const ByteSpan source = file.subspan(offset, static_cast<std::size_t>(rowPixels));
        const int y = topDown ? fileRow : pictureHeight - 1 - fileRow;
        std::span<std::uint8_t> target = picture.Row(y);
        std::copy(source.begin(), source.end(), target.begin());
    }
    return picture;
}

Picture LoadBmpFile(const std::filesystem::path& path)
{
    const Bytes file = ReadWholeFile(path);
    return DecodeBmp(file);
}

}  // namespace pomvella
