#include "app/cli/Bmp24RowReader.h"

#include <algorithm>
#include <limits>

#include "imaging/BmpLayout.h"

namespace pomvella::cli {

namespace {

// Rows are read in bands of about this many bytes.
constexpr std::uint64_t kBandBytes = 1 << 20;

}  // namespace

std::unique_ptr<Bmp24RowReader> Bmp24RowReader::Open(const std::filesystem::path& path)
{
    auto reader = std::make_unique<Bmp24RowReader>(Key(), path);
    const std::uint64_t size = reader->file_.Size();
    if (size < bmp::kHeadersSize)
        return nullptr;
    Bytes header(bmp::kHeadersSize);
    reader->file_.Read(header);
    if (header[0] != 'B' || header[1] != 'M')
        return nullptr;
    const std::uint32_t pixelOffset = LoadU32(header, 10);
    const std::uint32_t infoSize = LoadU32(header, 14);
    const std::int32_t width = LoadI32(header, 18);
    const std::int32_t height = LoadI32(header, 22);
    if (infoSize < bmp::kInfoHeaderSize || size - bmp::kFileHeaderSize < infoSize)
        return nullptr;
    if (LoadU16(header, 26) != 1 || LoadU16(header, 28) != 24 || LoadU32(header, 30) != bmp::kNoCompression)
        return nullptr;
    if (width <= 0 || height == 0 || height == std::numeric_limits<std::int32_t>::min())
        return nullptr;
    if (pixelOffset < bmp::kFileHeaderSize + infoSize)
        return nullptr;
    // width < 2^31 and rows <= 2^31 - 1: no product overflows 64 bits.
    const std::uint64_t rows = height < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(height))
                                          : static_cast<std::uint64_t>(height);
    const std::uint64_t stride = bmp::StoredRowBytes(static_cast<std::uint64_t>(width), 24);
    const std::uint64_t needed = stride * (rows - 1) + static_cast<std::uint64_t>(width) * 3;
    if (pixelOffset > size || size - pixelOffset < needed)
        return nullptr;

    reader->width_ = width;
    reader->height_ = static_cast<int>(rows);
    reader->topDown_ = height < 0;
    reader->pixelOffset_ = pixelOffset;
    reader->stride_ = stride;
    return reader;
}

void Bmp24RowReader::ForEachRow(const std::function<void(std::span<const std::uint8_t> row)>& visit)
{
    const std::size_t rowBytes = static_cast<std::size_t>(width_) * 3;
    const int bandRows = static_cast<int>(std::clamp<std::uint64_t>(kBandBytes / stride_, 1, height_));
    Bytes band;
    for (int top = 0; top < height_; top += bandRows) {
        const int count = std::min(bandRows, height_ - top);
        // The band's rows in file order; in a bottom-up file the picture's
        // top row is the file's last, so a band is read from further back.
        const int firstFileRow = topDown_ ? top : height_ - top - count;
        // The file's last row may lack its padding: read only its pixels.
        const std::size_t length = static_cast<std::size_t>(stride_) * static_cast<std::size_t>(count - 1) + rowBytes;
        band.resize(length);
        file_.Seek(pixelOffset_ + static_cast<std::uint64_t>(firstFileRow) * stride_);
        file_.Read(band);
        for (int i = 0; i < count; ++i) {
            const int fileRow = topDown_ ? i : count - 1 - i;
            visit(std::span<const std::uint8_t>(band).subspan(static_cast<std::size_t>(fileRow) * stride_, rowBytes));
        }
    }
}

}  // namespace pomvella::cli
