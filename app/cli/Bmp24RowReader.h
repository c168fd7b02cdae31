#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>

#include "base/InputFile.h"

namespace pomvella::cli {

// A plain 24-bit BMP file read a band of rows at a time, top row first, so
// that a large picture is never held whole. It takes only files that the
// full reader (LoadBmpFile) accepts as they stand: Open returns null for
// anything else, 8-bit files and broken ones alike, and the caller loads
// those with the full reader, which gives the verdict and the error text.
class Bmp24RowReader {
public:
    static std::unique_ptr<Bmp24RowReader> Open(const std::filesystem::path& path);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Calls visit with each row (width x 3 bytes: blue, green, red) from the
    // top row down. Can be called again for another pass.
    void ForEachRow(const std::function<void(std::span<const std::uint8_t> row)>& visit);

    // Only Open can make the key.
    class Key {
        friend class Bmp24RowReader;
        Key() = default;
    };
    Bmp24RowReader(Key, const std::filesystem::path& path) : file_(path) {}

private:
    InputFile file_;
    int width_ = 0;
    int height_ = 0;
    bool topDown_ = false;
    std::uint64_t pixelOffset_ = 0;
    std::uint64_t stride_ = 0;
};

}  // namespace pomvella::cli
