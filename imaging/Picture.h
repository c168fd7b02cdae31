#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace pomvella {

enum class PixelFormat {
    Indexed8,  // one byte a pixel: an index into the palette
    Bgr24,     // three bytes a pixel: blue, green, red
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kLime{0, 255, 0};

// Pixel rectangle; right and bottom are exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// A picture in memory: rows top to bottom, each exactly width × bytes-per-pixel
// long (no padding). An Indexed8 picture carries a palette of up to 256 colours.
class Picture {
public:
    Picture() = default;
    // Every pixel starts black (index 0 for Indexed8). Width and height must
    // not be negative; callers that take sizes from files check them first.
    Picture(PixelFormat format, int width, int height);

    PixelFormat Format() const { return format_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    std::size_t BytesPerPixel() const { return format_ == PixelFormat::Bgr24 ? 3 : 1; }
    std::size_t RowBytes() const { return static_cast<std::size_t>(width_) * BytesPerPixel(); }

    std::span<std::uint8_t> Row(int y);
    std::span<const std::uint8_t> Row(int y) const;
    std::span<std::uint8_t> Pixels() { return pixels_; }
    std::span<const std::uint8_t> Pixels() const { return pixels_; }

    // Bgr24 only.
    Rgb PixelAt(int x, int y) const;
    void SetPixel(int x, int y, Rgb colour);

    // Indexed8 only; at most 256 entries.
    const std::vector<Rgb>& Palette() const { return palette_; }
    void SetPalette(std::vector<Rgb> palette);

    friend bool operator==(const Picture&, const Picture&) = default;

private:
    PixelFormat format_ = PixelFormat::Bgr24;
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> pixels_;
    std::vector<Rgb> palette_;
};

}  // namespace pomvella
