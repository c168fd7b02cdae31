// The archive's files change between the directory walk and the reading of
// an entry (another program writes them, a disk is swapped). The conversion
// reads what is there at that moment: a file that is now too short is the
// read error, never a crash or a truncated texture file, and the texture file
// of an earlier run stays as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "FolderSnapshot.h"
#include "archive/PackArchive.h"
#include "archive/TextureBmp.h"
#include "base/Error.h"
#include "base/InputFile.h"
#include "tests/archive/PackFixtures.h"
#include "tests/support/TempFolder.h"
#include "tools/SampleArchive.h"

namespace pomvella::testing {
namespace {

namespace fs = std::filesystem;

const std::string kReadError = "ｽﾄﾘｰﾑからの読み込みｴﾗｰ";
constexpr const char* kWanted = "C00210020.BM2";

class ArchiveChangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sample::SampleArchiveOptions options;
        options.recordCount = 6;
        options.textureWidth = 16;
        options.textureHeight = 12;
        const sample::SampleArchive archive = sample::MakeSampleArchive(options);
        sample::WriteSampleArchive(archive, indexPath_, dataPath_);
        fs::create_directories(textures_);
        // An earlier run's texture file, which a failed conversion must keep.
        WriteFile(textures_ / (std::string(kWanted) + ".bmp"), Bytes{'e', 'a', 'r', 'l', 'i', 'e', 'r'});
    }

    // Opens the archive and walks the whole directory; returns the wanted record.
    PackEntry Walk(PackArchive& archive)
    {
        PackEntry wanted;
        for (int i = 1; i <= archive.EntryCount(); ++i) {
            PackEntry entry = archive.ReadPackEntry(i);
            if (NameMatches(entry.name, kWanted))
                wanted = entry;
        }
        EXPECT_EQ(wanted.name, kWanted);
        return wanted;
    }

    Bytes EntryBytes(const PackEntry& entry)
    {
        const Bytes data = ReadWholeFile(dataPath_);
        return Bytes(data.begin() + entry.offset, data.begin() + entry.offset + entry.size);
    }

    TempFolder folder_;
    fs::path indexPath_ = folder_ / "TH2Data.000";
    fs::path dataPath_ = folder_ / "TH2Data.001";
    fs::path textures_ = folder_ / "textures";
};

// Shortened data files: whatever the cut, the read error, and the texture
// folder exactly as before.
TEST_F(ArchiveChangeTest, DataFileShortenedAfterTheWalkIsTheReadError)
{
    struct Case {
        const char* name;
        std::function<std::uintmax_t(const PackEntry&)> newSize;
    };
    const Case cases[] = {
        {"emptied", [](const PackEntry&) { return std::uintmax_t{0}; }},
        {"cut before the entry", [](const PackEntry& e) { return static_cast<std::uintmax_t>(e.offset); }},
        {"cut inside the header block", [](const PackEntry& e) { return static_cast<std::uintmax_t>(e.offset) + 40; }},
        {"cut inside the palette", [](const PackEntry& e) { return static_cast<std::uintmax_t>(e.offset) + 500; }},
        {"last byte missing",
         [](const PackEntry& e) { return static_cast<std::uintmax_t>(e.offset) + static_cast<std::uintmax_t>(e.size) - 1; }},
    };
    for (const Case& c : cases) {
        SetUp();
        const auto archive = PackArchive::OpenPackArchive(indexPath_, dataPath_);
        ASSERT_NE(archive, nullptr);
        const PackEntry entry = Walk(*archive);
        fs::resize_file(dataPath_, c.newSize(entry));

        const FolderSnapshot before = SnapshotFolder(textures_);
        try {
            WriteTextureBmp(archive->DataStream(), entry, textures_);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const Error& error) {
            EXPECT_EQ(error.what(), kReadError) << c.name;
        }
        EXPECT_EQ(Differences(before, SnapshotFolder(textures_)), "") << c.name;
    }
}

// A data file replaced by renaming another file over it: the open archive
// still reads the file it opened, so the texture is the original entry's.
TEST_F(ArchiveChangeTest, DataFileRenamedOverKeepsTheOpenFile)
{
    const auto archive = PackArchive::OpenPackArchive(indexPath_, dataPath_);
    ASSERT_NE(archive, nullptr);
    const PackEntry entry = Walk(*archive);
    const Bytes original = EntryBytes(entry);
    WriteFile(folder_ / "other.001", Bytes(16, 0xAB));
    fs::rename(folder_ / "other.001", dataPath_);

    const fs::path path = WriteTextureBmp(archive->DataStream(), entry, textures_);
    EXPECT_EQ(ReadWholeFile(path), ConvertTextureEntry(original));
}

// A data file rewritten in place with other pixels: the texture holds what
// the file holds when the entry is read.
TEST_F(ArchiveChangeTest, DataFileRewrittenInPlaceGivesTheNewBytes)
{
    const auto archive = PackArchive::OpenPackArchive(indexPath_, dataPath_);
    ASSERT_NE(archive, nullptr);
    const PackEntry entry = Walk(*archive);
    Bytes changed = EntryBytes(entry);
    std::fill(changed.begin() + 1088, changed.end(), std::uint8_t{7});
    {
        std::fstream data(dataPath_, std::ios::binary | std::ios::in | std::ios::out);
        data.seekp(entry.offset);
        data.write(reinterpret_cast<const char*>(changed.data()), static_cast<std::streamsize>(changed.size()));
    }

    const fs::path path = WriteTextureBmp(archive->DataStream(), entry, textures_);
    EXPECT_EQ(ReadWholeFile(path), ConvertTextureEntry(changed));
}

// The index cut while the walk is under way: the records already read were
// read, the next one is the read error.
TEST_F(ArchiveChangeTest, IndexShortenedDuringTheWalkIsTheReadErrorAtTheNextRecord)
{
    const auto archive = PackArchive::OpenPackArchive(indexPath_, dataPath_);
    ASSERT_NE(archive, nullptr);
    ASSERT_GE(archive->EntryCount(), 3);
    const PackEntry first = archive->ReadPackEntry(1);
    const PackEntry second = archive->ReadPackEntry(2);
    fs::resize_file(indexPath_, kPackHeaderSize + 2 * kPackRecordSize + 31);

    EXPECT_EQ(archive->ReadPackEntry(2).name, second.name);  // still whole
    try {
        archive->ReadPackEntry(3);
        ADD_FAILURE() << "record 3 read from a cut index";
    } catch (const Error& error) {
        EXPECT_EQ(error.what(), kReadError);
    }
    EXPECT_EQ(archive->ReadPackEntry(1).name, first.name);
}

}  // namespace
}  // namespace pomvella::testing
