// Writes the seed corpora of the fuzz harnesses: small sample archives,
// good BMP files of every layout the reader takes, the malformed BMP files of
// the tests, and scaler inputs of assorted sizes.
//   fuzz_make_seeds CORPUS_FOLDER BAD_BMP_FOLDER
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/Bytes.h"
#include "base/InputFile.h"
#include "imaging/BmpWriter.h"
#include "imaging/Picture.h"
#include "tools/SampleArchive.h"

namespace {

using pomvella::Bytes;
using pomvella::ByteWriter;
namespace fs = std::filesystem;

void Write(const fs::path& path, const Bytes& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The archive harness's input: split point, index, data file.
Bytes ArchiveInput(const pomvella::sample::SampleArchive& archive)
{
    Bytes input;
    ByteWriter out(input);
    out.U16(static_cast<std::uint16_t>(archive.index.size()));
    out.Append(archive.index);
    input.resize(input.size() + archive.padding);
    out.Append(archive.data);
    return input;
}

void WriteArchiveSeeds(const fs::path& folder)
{
    using pomvella::sample::SampleArchiveOptions;
    auto small = [](std::uint32_t seed) {
        SampleArchiveOptions options;
        options.seed = seed;
        options.recordCount = 6;
        options.textureWidth = 16;
        options.textureHeight = 12;
        return options;
    };
    std::vector<std::pair<std::string, SampleArchiveOptions>> seeds;
    seeds.emplace_back("four-wanted", small(1));
    auto decoys = small(2);
    decoys.decoys = true;
    decoys.nulGarbage = true;
    decoys.wanted = {"C00210020.BM2"};
    seeds.emplace_back("decoys-nul-garbage", decoys);
    auto duplicate = small(3);
    duplicate.wanted = {"C00200120.BM2", "C00200120.BM2"};
    duplicate.textureWidth = 5;  // rows that are not a multiple of 4
    duplicate.textureHeight = 3;
    seeds.emplace_back("duplicate-odd-width", duplicate);
    auto countTooLarge = small(4);
    countTooLarge.headerCount = 9;
    countTooLarge.padding = 24;
    seeds.emplace_back("count-past-records-padding", countTooLarge);
    auto flat = small(5);
    flat.wanted = {"C00210071.BM2"};
    flat.textureHeight = 1;
    seeds.emplace_back("one-row", flat);
    auto wrongMagic = small(6);
    wrongMagic.magic = {'P', 'A', 'C', 'k'};
    seeds.emplace_back("wrong-magic", wrongMagic);
    for (const auto& [name, options] : seeds)
        Write(folder / (name + ".bin"), ArchiveInput(pomvella::sample::MakeSampleArchive(options)));
}

pomvella::Picture Gradient(pomvella::PixelFormat format, int width, int height, int paletteSize)
{
    pomvella::Picture picture(format, width, height);
    int n = 0;
    for (std::uint8_t& value : picture.Pixels())
        value = static_cast<std::uint8_t>((n++ * 37) % 256);
    if (format == pomvella::PixelFormat::Indexed8) {
        std::vector<pomvella::Rgb> palette(static_cast<std::size_t>(paletteSize));
        for (std::size_t i = 0; i < palette.size(); ++i)
            palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                          static_cast<std::uint8_t>(i * 7)};
        picture.SetPalette(std::move(palette));
    }
    return picture;
}

// A top-down file: the same rows with the height negated, so the picture reads upside down.
Bytes TopDown(Bytes file)
{
    const std::int32_t height = static_cast<std::int32_t>(pomvella::LoadU32(file, 22));
    pomvella::StoreU32(file, 22, static_cast<std::uint32_t>(-height));
    return file;
}

// An 8-bit file with a short colour table (biClrUsed 4): the table ends early
// and the rows follow it.
Bytes ShortColourTable(const Bytes& full)
{
    constexpr std::size_t kTableStart = 54;
    constexpr std::uint32_t kColours = 4;
    Bytes file(full.begin(), full.begin() + kTableStart + 4 * kColours);
    file.insert(file.end(), full.begin() + 1078, full.end());
    pomvella::StoreU32(file, 10, kTableStart + 4 * kColours);
    pomvella::StoreU32(file, 46, kColours);
    return file;
}

void WriteBmpSeeds(const fs::path& folder, const fs::path& badFolder)
{
    using pomvella::PixelFormat;
    for (const int width : {1, 2, 3, 5}) {
        const std::string size = std::to_string(width) + "x3";
        const Bytes file24 = pomvella::EncodeBmp24(Gradient(PixelFormat::Bgr24, width, 3, 0));
        const Bytes file8 = pomvella::EncodeBmp8(Gradient(PixelFormat::Indexed8, width, 3, 200));
        Write(folder / ("good-24-" + size + ".bmp"), file24);
        Write(folder / ("good-8-" + size + ".bmp"), file8);
        Write(folder / ("good-24-top-down-" + size + ".bmp"), TopDown(file24));
        Write(folder / ("good-8-four-colours-" + size + ".bmp"), ShortColourTable(file8));
    }
    for (const auto& entry : fs::directory_iterator(badFolder)) {
        if (entry.path().extension() == ".bmp")
            Write(folder / ("bad-" + entry.path().filename().string()), pomvella::ReadWholeFile(entry.path()));
    }
}

void WriteScalerSeeds(const fs::path& folder)
{
    struct Seed {
        const char* name;
        std::vector<std::uint8_t> head;  // sizes, fill seeds, rectangle, source size and format
    };
    // Input: target w, h; flood seed x, y; fill rectangle; source w, h; format bit; then palette and pixels.
    const std::vector<Seed> seeds = {
        {"shrink-24", {5, 3, 8, 8, 2, 2, 10, 10, 17, 11, 0}},
        {"grow-24", {40, 33, 20, 20, 0, 0, 80, 80, 3, 2, 0}},
        {"same-size-24", {7, 9, 0, 0, 3, 3, 5, 5, 7, 9, 0}},
        {"indexed-short-palette", {10, 10, 9, 9, 0, 0, 0, 0, 13, 6, 1, 3}},
        {"empty-source", {4, 4, 8, 8, 0, 0, 12, 12, 0, 5, 0}},
        {"one-pixel-to-largest", {64, 64, 8, 8, 8, 8, 40, 40, 1, 1, 0}},
    };
    for (const Seed& seed : seeds) {
        Bytes input = seed.head;
        // Pixels: a pattern with black runs, so that flood fills have regions.
        for (int i = 0; i < 600; ++i)
            input.push_back(static_cast<std::uint8_t>((i / 7) % 3 == 0 ? 0xC8 : (i * 29) % 0xC0));
        Write(folder / (std::string(seed.name) + ".bin"), input);
    }
}

void WriteOctreeSeeds(const fs::path& folder)
{
    // Input: count selector and count, format, width, height, value mask, pixels.
    auto pixels = [](std::size_t count, int step) {
        Bytes bytes;
        for (std::size_t i = 0; i < count; ++i)
            bytes.push_back(static_cast<std::uint8_t>(i * static_cast<std::size_t>(step) % 251));
        return bytes;
    };
    struct Seed {
        const char* name;
        Bytes head;
        Bytes body;
    };
    const std::vector<Seed> seeds = {
        {"many-colours-256", {0, 254, 0, 32, 32, 0xFF}, pixels(32 * 32 * 3, 37)},
        {"few-colours-2", {0, 0, 0, 24, 3, 0xC0}, pixels(24 * 3 * 3, 11)},
        {"red-blue-red-green", {0, 254, 0, 2, 2, 0xFF}, {0, 0, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0}},
        {"count-1", {7, 1, 0, 0, 0, 0, 3, 3, 0xFF}, pixels(27, 5)},
        {"count-257", {7, 1, 1, 0, 0, 0, 3, 3, 0xFF}, pixels(27, 5)},
        {"eight-bit-picture", {0, 100, 15, 4, 4, 0xFF}, pixels(16, 3)},
        {"no-columns-many-rows", {0, 254, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF}, {}},
    };
    for (const Seed& seed : seeds) {
        Bytes input = seed.head;
        input.insert(input.end(), seed.body.begin(), seed.body.end());
        Write(folder / (std::string(seed.name) + ".bin"), input);
    }
}

void WriteBuildSeeds(const fs::path& folder)
{
    // Input: archive variant, data-file cut, then patches (24-bit offset with
    // the index flag in its top bit, byte).
    const std::vector<std::pair<const char*, Bytes>> seeds = {
        {"sample", {0, 0}},
        {"decoys", {1, 0}},
        {"duplicates", {2, 0}},
        {"odd-width", {3, 0}},
        {"data-cut-in-half", {0, 128}},
        {"wrong-magic", {0, 0, 3, 0, 0x80, 'k'}},
        {"count-past-records", {2, 0, 4, 0, 0x80, 40}},
        {"bitmap-type-broken", {0, 0, 0, 0, 0, 'X', 0, 1, 0, 'X'}},
    };
    for (const auto& [name, input] : seeds)
        Write(folder / (std::string(name) + ".bin"), input);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_make_seeds CORPUS_FOLDER BAD_BMP_FOLDER\n");
        return 2;
    }
    const fs::path corpus = argv[1];
    WriteArchiveSeeds(corpus / "archive");
    WriteBmpSeeds(corpus / "bmp_reader", argv[2]);
    WriteScalerSeeds(corpus / "scaler");
    WriteOctreeSeeds(corpus / "octree");
    WriteBuildSeeds(corpus / "build");
    return 0;
}
