#include "imaging/Picture.h"

#include <stdexcept>

namespace pomvella {

Picture::Picture(PixelFormat format, int width, int height) : format_(format), width_(width), height_(height)
{
    if (width < 0 || height < 0)
        throw std::invalid_argument("picture size must not be negative");
    pixels_.assign(RowBytes() * static_cast<std::size_t>(height), 0);
}

std::span<std::uint8_t> Picture::Row(int y)
{
    return std::span<std::uint8_t>(pixels_).subspan(static_cast<std::size_t>(y) * RowBytes(), RowBytes());
}

std::span<const std::uint8_t> Picture::Row(int y) const
{
    return std::span<const std::uint8_t>(pixels_).subspan(static_cast<std::size_t>(y) * RowBytes(), RowBytes());
}

Rgb Picture::PixelAt(int x, int y) const
{
    const std::uint8_t* pixel = &pixels_[static_cast<std::size_t>(y) * RowBytes() + static_cast<std::size_t>(x) * 3];
    return Rgb{pixel[2], pixel[1], pixel[0]};
}

void Picture::SetPixel(int x, int y, Rgb colour)
{
    std::uint8_t* pixel = &pixels_[static_cast<std::size_t>(y) * RowBytes() + static_cast<std::size_t>(x) * 3];
    pixel[0] = colour.blue;
    pixel[1] = colour.green;
    pixel[2] = colour.red;
}

void Picture::SetPalette(std::vector<Rgb> palette)
{
    if (palette.size() > 256)
        throw std::invalid_argument("a palette holds at most 256 colours");
    palette_ = std::move(palette);
}

}  // namespace pomvella
