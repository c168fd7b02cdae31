#pragma once

#include <random>
#include <vector>

#include "imaging/Picture.h"

namespace pomvella::testing {

// A picture of random pixels (and, for Indexed8, a random palette of the
// given size), the same for the same seed.
inline Picture RandomPicture(PixelFormat format, int width, int height, unsigned seed, int paletteSize = 256)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    Picture picture(format, width, height);
    for (std::uint8_t& value : picture.Pixels())
        value = static_cast<std::uint8_t>(byte(random));
    if (format == PixelFormat::Indexed8) {
        std::vector<Rgb> palette(static_cast<std::size_t>(paletteSize));
        for (Rgb& colour : palette)
            colour = Rgb{static_cast<std::uint8_t>(byte(random)), static_cast<std::uint8_t>(byte(random)),
                         static_cast<std::uint8_t>(byte(random))};
        picture.SetPalette(std::move(palette));
    }
    return picture;
}

}  // namespace pomvella::testing
