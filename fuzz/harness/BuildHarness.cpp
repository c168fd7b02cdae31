#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "base/Error.h"
#include "base/InputFile.h"
#include "character/CharacterJob.h"
#include "fuzz/harness/Harness.h"
#include "imaging/BmpReader.h"
#include "tools/SampleArchive.h"

namespace pomvella::fuzz {
namespace {

// Small textures keep each run fast; the crop rectangles then reach past
// them, which the conversion fills with black.
sample::SampleArchive BaseArchive(std::uint8_t variant)
{
    sample::SampleArchiveOptions options;
    options.seed = 1 + variant % 4;
    options.recordCount = 8;
    options.textureWidth = 64;
    options.textureHeight = 48;
    switch (variant % 4) {
    case 1:
        options.decoys = true;
        options.nulGarbage = true;
        break;
    case 2:
        options.wanted = {"C00200120.BM2", "C00210020.BM2", "C00200120.BM2"};
        break;
    case 3:
        options.textureWidth = 13;  // rows that are not a multiple of 4
        options.textureHeight = 7;
        break;
    default:
        break;
    }
    return sample::MakeSampleArchive(options);
}

// The sample archive's files, made once per variant.
struct ArchiveFiles {
    Bytes index;
    Bytes data;
};

const ArchiveFiles& BaseFiles(std::uint8_t variant)
{
    static std::map<int, ArchiveFiles> cache;
    auto [entry, inserted] = cache.try_emplace(variant % 4);
    if (inserted) {
        const sample::SampleArchive archive = BaseArchive(variant);
        entry->second.index = archive.index;
        entry->second.data.assign(archive.padding, 0);
        entry->second.data.insert(entry->second.data.end(), archive.data.begin(), archive.data.end());
    }
    return entry->second;
}

void WriteInputFile(const std::filesystem::path& path, ByteSpan bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    POMVELLA_FUZZ_CHECK(out.good());
}

void ResetFolder(const std::filesystem::path& folder)
{
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
}

// What may stand in the character folder: complete outputs only, whatever
// happened (an error leaves the files written before it, each whole).
void CheckOutputs(const std::filesystem::path& outputDir, const std::filesystem::path& textureFolder)
{
    static const std::map<std::string, std::uintmax_t> kSizes = {
        {"001.BMP", 76854}, {"002.BMP", 76854}, {"003.BMP", 76854}, {"000.NAD", 38499}};
    for (const auto& entry : std::filesystem::directory_iterator(outputDir)) {
        const std::string name = entry.path().filename().string();
        const auto size = kSizes.find(name);
        POMVELLA_FUZZ_CHECK(size != kSizes.end());
        POMVELLA_FUZZ_CHECK(entry.file_size() == size->second);
        if (name != "000.NAD") {
            const Picture picture = LoadBmpFile(entry.path());
            POMVELLA_FUZZ_CHECK(picture.Width() == 160 && picture.Height() == 160);
        }
    }
    // No temporary file of an atomic write outlives it.
    for (const auto& entry : std::filesystem::directory_iterator(textureFolder))
        POMVELLA_FUZZ_CHECK(entry.path().filename().string().front() != '.');
}

}  // namespace

void FuzzBuild(ByteSpan input)
{
    if (input.size() < 2)
        return;
    const ArchiveFiles& base = BaseFiles(input[0]);
    Bytes index = base.index;
    Bytes data = base.data;
    // Byte 1 cuts the data file (0: whole). Then patches of 4 bytes: a 24-bit
    // offset whose top bit picks the index (1) or the data file (0), and the
    // byte to put there.
    if (input[1] != 0)
        data.resize(data.size() * input[1] / 256);
    for (std::size_t at = 2; at + 4 <= input.size(); at += 4) {
        const std::uint32_t offset = input[at] | (input[at + 1] << 8) | ((input[at + 2] & 0x7Fu) << 16);
        Bytes& file = (input[at + 2] & 0x80) ? index : data;
        if (!file.empty())
            file[offset % file.size()] = input[at + 3];
    }

    const std::filesystem::path& scratch = ScratchFolder();
    CharacterJob job;
    job.indexPath = scratch / "TH2Data.000";
    job.dataPath = scratch / "TH2Data.001";
    job.outputDir = scratch / "B";
    job.textureFolder = scratch / "textures";
    WriteInputFile(job.indexPath, index);
    WriteInputFile(job.dataPath, data);
    ResetFolder(job.outputDir);
    ResetFolder(job.textureFolder);

    const bool magic = index.size() >= 4 && index[0] == 'P' && index[1] == 'A' && index[2] == 'C' && index[3] == 'K';
    try {
        const int result = BuildCharacterFiles(job);
        POMVELLA_FUZZ_CHECK(result == (magic ? kBuildDone : kBuildNotPackArchive));
        if (result == kBuildNotPackArchive)
            POMVELLA_FUZZ_CHECK(std::filesystem::is_empty(job.outputDir));
    } catch (const Error&) {
    }
    CheckOutputs(job.outputDir, job.textureFolder);
}

}  // namespace pomvella::fuzz
