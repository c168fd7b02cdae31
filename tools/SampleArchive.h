#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Bytes.h"

// Makes pack archives that look like the game's: many records of assorted
// names and, among them, the wanted BM2 textures holding character pictures
// (shapes in several colours on pure black, with enclosed black holes).
// Everything follows from the seed, identically on every platform.
namespace pomvella::sample {

inline constexpr std::array<std::string_view, 4> kWantedNames = {
    "C00200120.BM2", "C00210020.BM2", "C00210071.BM2", "C00210130.BM2"};

// A palettised picture as the game keeps it, before any conversion.
struct SampleTexture {
    int width = 0;
    int height = 0;
    std::array<std::uint8_t, 1024> palette{};  // 256 x (red, green, blue, alpha), in index order
    Bytes pixels;                              // width x height indices, top row first
};

// A character picture: palette with alphas 0, 1, 127, 128 and 255 among
// others, black background (index 0), shapes and holes in black.
SampleTexture MakeCharacterPicture(std::uint32_t seed, int width, int height);

// The BM2 entry of a texture: 54 header bytes, 10 further bytes, the palette
// in block-interleaved order and the rows top row first, so that the texture
// conversion turns it into a BMP file of the picture. Header fields that the
// conversion rewrites (reserved words, biSize, the 10 further bytes) carry
// values from headerSeed.
Bytes MakeTextureEntry(const SampleTexture& texture, std::uint32_t headerSeed);

struct SampleArchiveOptions {
    std::uint32_t seed = 1;
    int recordCount = 64;  // all records; raised to fit the wanted ones and the decoys
    // The wanted records in directory order; a name given twice makes a
    // duplicate with a different picture. Any name may be given.
    std::vector<std::string> wanted{kWantedNames.begin(), kWantedNames.end()};
    // Records whose names nearly match: lower case, a trailing space, and a
    // 24-byte field without NUL that begins with a wanted name.
    bool decoys = false;
    // Name fields of wanted records hold a NUL and then other bytes.
    bool nulGarbage = false;
    std::optional<std::uint32_t> headerCount;  // the count in the header; default: the records
    std::array<std::uint8_t, 4> magic = {'P', 'A', 'C', 'K'};
    // Zero bytes at the start of the data file, before the first entry.
    std::uint64_t padding = 0;
    // Size of the texture records; without a value, one from the seed that
    // holds every crop rectangle (412 to 640 wide in steps of 4, 384 to 512 high).
    std::optional<int> textureWidth;
    std::optional<int> textureHeight;
};

struct SampleRecord {
    std::array<std::uint8_t, 24> nameField{};
    std::int32_t offset = 0;
    std::int32_t size = 0;
};

struct SampleArchive {
    Bytes index;
    std::vector<SampleRecord> records;
    std::uint64_t padding = 0;  // zero bytes that come first in the data file
    Bytes data;                 // the rest of the data file
};

// Raises std::invalid_argument for options that cannot make an archive.
SampleArchive MakeSampleArchive(const SampleArchiveOptions& options);

// Writes the index and the data file; the padding is not held in memory but
// skipped over, which leaves a sparse file where the file system allows.
void WriteSampleArchive(const SampleArchive& archive, const std::filesystem::path& indexPath,
                        const std::filesystem::path& dataPath);

}  // namespace pomvella::sample
