#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "archive/PackArchive.h"
#include "archive/TextureBmp.h"
#include "tests/support/TempFolder.h"
#include "tools/SampleArchive.h"

namespace pomvella::sample {
namespace {

std::vector<PackEntry> EntriesOf(const SampleArchive& archive)
{
    std::vector<PackEntry> entries;
    for (const SampleRecord& record : archive.records) {
        Bytes bytes(record.nameField.begin(), record.nameField.end());
        ByteWriter out(bytes);
        out.I32(record.offset);
        out.I32(record.size);
        entries.push_back(ParsePackEntry(bytes));
    }
    return entries;
}

Bytes EntryBytes(const SampleArchive& archive, const PackEntry& entry)
{
    const auto begin = archive.data.begin() + static_cast<std::ptrdiff_t>(entry.offset - archive.padding);
    return Bytes(begin, begin + entry.size);
}

TEST(SampleArchiveTest, TheSameSeedGivesTheSameBytesAndAnotherSeedOthers)
{
    SampleArchiveOptions options;
    options.seed = 11;
    options.decoys = true;
    const SampleArchive first = MakeSampleArchive(options);
    const SampleArchive second = MakeSampleArchive(options);
    EXPECT_EQ(first.index, second.index);
    EXPECT_EQ(first.data, second.data);
    options.seed = 12;
    EXPECT_NE(MakeSampleArchive(options).data, first.data);
}

TEST(SampleArchiveTest, WantedRecordsKeepTheirOrderAndDecoysNeverMatch)
{
    SampleArchiveOptions options;
    options.seed = 3;
    options.recordCount = 200;
    options.wanted = {"C00210071.BM2", "C00200120.BM2", "C00210071.BM2"};
    options.decoys = true;
    options.nulGarbage = true;
    const SampleArchive archive = MakeSampleArchive(options);
    ASSERT_EQ(archive.records.size(), 200u);
    EXPECT_EQ(LoadU16(archive.index, 4), 200);

    std::vector<std::string> matched;
    std::vector<Bytes> duplicates;
    std::size_t nearMisses = 0;
    for (std::size_t i = 0; i < archive.records.size(); ++i) {
        const PackEntry entry = EntriesOf(archive)[i];
        const bool wanted = std::any_of(kWantedNames.begin(), kWantedNames.end(),
                                        [&](std::string_view name) { return NameMatches(entry.name, name); });
        if (wanted) {
            matched.push_back(entry.name);
            // NUL, then other bytes
            EXPECT_EQ(archive.records[i].nameField[entry.name.size()], 0);
            EXPECT_NE(archive.records[i].nameField[23], 0);
            if (entry.name == "C00210071.BM2")
                duplicates.push_back(EntryBytes(archive, entry));
        } else if (entry.name.size() >= 13 && (entry.name[0] == 'c' || entry.name.substr(0, 4) == "C002")) {
            ++nearMisses;
        }
    }
    EXPECT_EQ(matched, options.wanted);
    ASSERT_EQ(duplicates.size(), 2u);
    EXPECT_NE(duplicates[0], duplicates[1]);
    EXPECT_EQ(nearMisses, 16u);
}

TEST(SampleArchiveTest, HeaderAndLayoutOptionsAreApplied)
{
    SampleArchiveOptions options;
    options.seed = 5;
    options.recordCount = 10;
    options.headerCount = 12;
    options.magic = {'p', 'a', 'c', 'k'};
    options.padding = 1u << 20;
    options.wanted = {};
    const SampleArchive archive = MakeSampleArchive(options);
    EXPECT_EQ(archive.index.size(), 8u + 32u * 10u);
    EXPECT_EQ(std::string(archive.index.begin(), archive.index.begin() + 4), "pack");
    EXPECT_EQ(LoadU16(archive.index, 4), 12);
    for (const PackEntry& entry : EntriesOf(archive))
        EXPECT_GE(entry.offset, 1 << 20);

    testing::TempFolder folder;
    WriteSampleArchive(archive, folder / "a.000", folder / "a.001");
    EXPECT_EQ(ReadWholeFile(folder / "a.000"), archive.index);
    EXPECT_EQ(std::filesystem::file_size(folder / "a.001"), options.padding + archive.data.size());

    options.recordCount = 65535;
    options.headerCount.reset();
    EXPECT_EQ(LoadU16(MakeSampleArchive(options).index, 4), 65535);
    options.recordCount = 65536;
    EXPECT_THROW(MakeSampleArchive(options), std::invalid_argument);
}

TEST(SampleArchiveTest, TexturesConvertBackIntoTheirPictures)
{
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        const SampleTexture texture = MakeCharacterPicture(seed, 412 + 4 * static_cast<int>(seed), 384 + 3);
        const Bytes bmp = ConvertTextureEntry(MakeTextureEntry(texture, seed));
        ASSERT_EQ(bmp.size(), 1078 + texture.pixels.size());
        const auto w = static_cast<std::size_t>(texture.width);
        const auto h = static_cast<std::size_t>(texture.height);
        // BMP rows run bottom-up.
        for (std::size_t y = 0; y < h; ++y) {
            ASSERT_TRUE(std::equal(texture.pixels.begin() + static_cast<std::ptrdiff_t>(y * w),
                                   texture.pixels.begin() + static_cast<std::ptrdiff_t>((y + 1) * w),
                                   bmp.begin() + static_cast<std::ptrdiff_t>(1078 + (h - 1 - y) * w)))
                << "row " << y;
        }
        std::set<int> alphas;
        for (int i = 0; i < 256; ++i) {
            const int alpha = texture.palette[4 * i + 3];
            alphas.insert(alpha);
            if (alpha >= 128) {
                EXPECT_EQ(bmp[54 + 4 * i], texture.palette[4 * i + 2]);
                EXPECT_EQ(bmp[54 + 4 * i + 2], texture.palette[4 * i]);
            }
        }
        for (int alpha : {0, 1, 127, 128, 255})
            EXPECT_TRUE(alphas.count(alpha)) << alpha;
        // Black background, several colours in the figure.
        EXPECT_EQ(texture.pixels.front(), 0);
        EXPECT_GE(std::set<int>(texture.pixels.begin(), texture.pixels.end()).size(), 8u);
    }
}

}  // namespace
}  // namespace pomvella::sample
