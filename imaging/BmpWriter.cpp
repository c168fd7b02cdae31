#include "imaging/BmpWriter.h"

#include <cstdint>
#include <limits>
#include <stdexcept>

#include "base/AtomicFile.h"
#include "imaging/BmpLayout.h"
#include "imaging/PictureOps.h"

namespace pomvella {
namespace {

struct Layout {
    std::uint32_t rowStride = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t fileSize = 0;
};

// A picture whose file would not fit the 32-bit size fields cannot be written.
Layout ComputeLayout(const Picture& picture, std::uint32_t bitsPerPixel, std::uint32_t pixelOffset)
{
    constexpr std::uint64_t kLimit = std::numeric_limits<std::uint32_t>::max();
    const std::uint64_t stride = bmp::StoredRowBytes(static_cast<std::uint64_t>(picture.Width()), bitsPerPixel);
    const std::uint64_t height = static_cast<std::uint64_t>(picture.Height());
    if (height != 0 && stride > (kLimit - pixelOffset) / height)
        throw WriteError();
    const std::uint64_t imageSize = stride * height;
    return Layout{static_cast<std::uint32_t>(stride), static_cast<std::uint32_t>(imageSize),
                  static_cast<std::uint32_t>(pixelOffset + imageSize)};
}

void WriteHeaders(ByteWriter& writer, const Picture& picture, const Layout& layout, std::uint32_t pixelOffset,
                  std::uint16_t bitsPerPixel, std::uint32_t coloursUsed)
{
    writer.U8('B');
    writer.U8('M');
    writer.U32(layout.fileSize);
    writer.U16(0);
    writer.U16(0);
    writer.U32(pixelOffset);
    writer.U32(bmp::kInfoHeaderSize);
    writer.I32(picture.Width());
    writer.I32(picture.Height());  // positive: rows bottom-up
    writer.U16(1);
    writer.U16(bitsPerPixel);
    writer.U32(bmp::kNoCompression);
    writer.U32(layout.imageSize);
    writer.U32(0);  // no resolution is carried
    writer.U32(0);
    writer.U32(coloursUsed);
    writer.U32(0);
}

void WriteRowsBottomUp(ByteWriter& writer, const Picture& picture, const Layout& layout)
{
    const std::size_t padding = layout.rowStride - picture.RowBytes();
    for (int y = picture.Height() - 1; y >= 0; --y) {
        writer.Append(picture.Row(y));
        writer.Zeros(padding);
    }
}

}  // namespace

Bytes EncodeBmp24(const Picture& picture)
{
    if (picture.Format() != PixelFormat::Bgr24)
        return EncodeBmp24(ConvertTo24(picture));
    const std::uint32_t pixelOffset = bmp::kHeadersSize;
    const Layout layout = ComputeLayout(picture, 24, pixelOffset);
    Bytes file;
    file.reserve(layout.fileSize);
    ByteWriter writer(file);
    WriteHeaders(writer, picture, layout, pixelOffset, 24, 0);
    WriteRowsBottomUp(writer, picture, layout);
    return file;
}

Bytes EncodeBmp8(const Picture& picture)
{
    if (picture.Format() != PixelFormat::Indexed8)
        throw std::invalid_argument("an 8-bit BMP file needs an Indexed8 picture");
    constexpr std::uint32_t kTableEntries = 256;
    const std::uint32_t pixelOffset = bmp::kHeadersSize + kTableEntries * bmp::kColourEntrySize;
    const Layout layout = ComputeLayout(picture, 8, pixelOffset);
    Bytes file;
    file.reserve(layout.fileSize);
    ByteWriter writer(file);
    WriteHeaders(writer, picture, layout, pixelOffset, 8, kTableEntries);
    const std::vector<Rgb>& palette = picture.Palette();
    for (std::uint32_t i = 0; i < kTableEntries; ++i) {
        const Rgb colour = i < palette.size() ? palette[i] : kBlack;
        writer.U8(colour.blue);
        writer.U8(colour.green);
        writer.U8(colour.red);
        writer.U8(0);
    }
    WriteRowsBottomUp(writer, picture, layout);
    return file;
}

void SaveBmp24(const Picture& picture, const std::filesystem::path& path)
{
    ReplaceFileAtomically(path, EncodeBmp24(picture));
}

void SaveBmp8(const Picture& picture, const std::filesystem::path& path)
{
    ReplaceFileAtomically(path, EncodeBmp8(picture));
}

}  // namespace pomvella
