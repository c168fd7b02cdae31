#include <algorithm>
#include <fstream>
#include <optional>
#include <string>
#include <variant>

#include "archive/PackArchive.h"
#include "archive/TextureBmp.h"
#include "base/Error.h"
#include "base/InputFile.h"
#include "fuzz/harness/Harness.h"
#include "imaging/BmpReader.h"

namespace pomvella::fuzz {
namespace {

// Enough to walk a few hundred records and convert a dozen entries: each
// input stays fast, and the files hold every branch there is.
constexpr int kMaxRecords = 256;
constexpr int kMaxConversions = 12;

void WriteInputFile(const std::filesystem::path& path, ByteSpan bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    POMVELLA_FUZZ_CHECK(out.good());
}

// What a conversion gives: the file's bytes or the error's text.
using Outcome = std::variant<Bytes, std::string>;

// The conversion of the same entry done in memory, straight from the input.
Outcome ExpectedConversion(ByteSpan data, const PackEntry& entry, const std::filesystem::path& folder)
{
    if (entry.name.find_first_of("/\\:") != std::string::npos)
        return std::string(FileCreateError(folder / (entry.name + ".bmp")).what());
    if (entry.offset < 0 || entry.size < 0)
        return std::string(ReadError().what());
    const auto offset = static_cast<std::size_t>(entry.offset);
    const auto size = static_cast<std::size_t>(entry.size);
    if (offset > data.size() || data.size() - offset < size)
        return std::string(ReadError().what());
    try {
        return ConvertTextureEntry(data.subspan(offset, size));
    } catch (const Error& error) {
        return std::string(error.what());
    }
}

Outcome ConvertThroughFiles(PackArchive& archive, const PackEntry& entry, const std::filesystem::path& folder)
{
    try {
        const std::filesystem::path path = WriteTextureBmp(archive.DataStream(), entry, folder);
        POMVELLA_FUZZ_CHECK(path == folder / (entry.name + ".bmp"));
        Bytes written = ReadWholeFile(path);
        std::filesystem::remove(path);
        return written;
    } catch (const Error& error) {
        return std::string(error.what());
    }
}

// The texture folder holds nothing between conversions: a written file is
// removed once read, and a failed one must leave no temporary file behind.
void CheckFolderEmpty(const std::filesystem::path& folder)
{
    POMVELLA_FUZZ_CHECK(std::filesystem::is_empty(folder));
}

}  // namespace

void FuzzArchive(ByteSpan input)
{
    if (input.size() < 2)
        return;
    const std::size_t split = std::min<std::size_t>(LoadU16(input, 0), input.size() - 2);
    const ByteSpan index = input.subspan(2, split);
    const ByteSpan data = input.subspan(2 + split);

    const std::filesystem::path& scratch = ScratchFolder();
    const std::filesystem::path indexPath = scratch / "TH2Data.000";
    const std::filesystem::path dataPath = scratch / "TH2Data.001";
    const std::filesystem::path textureFolder = scratch / "textures";
    std::filesystem::create_directories(textureFolder);
    WriteInputFile(indexPath, index);
    WriteInputFile(dataPath, data);

    std::unique_ptr<PackArchive> archive;
    try {
        archive = PackArchive::OpenPackArchive(indexPath, dataPath);
    } catch (const Error& error) {
        // The only way to fail here with both files present: a header cut short.
        POMVELLA_FUZZ_CHECK(index.size() < kPackHeaderSize);
        POMVELLA_FUZZ_CHECK(std::string(error.what()) == ReadError().what());
        return;
    }
    POMVELLA_FUZZ_CHECK(index.size() >= kPackHeaderSize);
    const bool magic = index[0] == 'P' && index[1] == 'A' && index[2] == 'C' && index[3] == 'K';
    POMVELLA_FUZZ_CHECK((archive != nullptr) == magic);
    if (!archive)
        return;
    POMVELLA_FUZZ_CHECK(archive->EntryCount() == LoadU16(index, 4));

    int conversions = 0;
    const int records = std::min<int>(archive->EntryCount(), kMaxRecords);
    for (int i = 1; i <= records; ++i) {
        const std::size_t recordEnd = kPackHeaderSize + kPackRecordSize * static_cast<std::size_t>(i);
        std::optional<PackEntry> entry;
        try {
            entry = archive->ReadPackEntry(i);
        } catch (const Error& error) {
            POMVELLA_FUZZ_CHECK(std::string(error.what()) == ReadError().what());
        }
        // A record reads exactly when the index holds all of its 32 bytes.
        POMVELLA_FUZZ_CHECK(entry.has_value() == (recordEnd <= index.size()));
        if (!entry)
            break;
        const PackEntry expectedEntry = ParsePackEntry(index.subspan(recordEnd - kPackRecordSize, kPackRecordSize));
        POMVELLA_FUZZ_CHECK(entry->name == expectedEntry.name && entry->offset == expectedEntry.offset &&
                            entry->size == expectedEntry.size);
        POMVELLA_FUZZ_CHECK(entry->name.size() <= kPackNameFieldSize &&
                            entry->name.find('\0') == std::string::npos);

        if (conversions++ >= kMaxConversions)
            continue;
        const Outcome expected = ExpectedConversion(data, *entry, textureFolder);
        const Outcome actual = ConvertThroughFiles(*archive, *entry, textureFolder);
        POMVELLA_FUZZ_CHECK(actual == expected);
        CheckFolderEmpty(textureFolder);

        // The conversion then loads the file: whatever it holds, that ends in
        // a picture or in an error of the tool.
        if (const Bytes* bmp = std::get_if<Bytes>(&actual)) {
            try {
                (void)DecodeBmp(*bmp);
            } catch (const Error&) {
            }
        }
    }
    archive->ClosePackArchive();
}

}  // namespace pomvella::fuzz
