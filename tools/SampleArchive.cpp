#include "tools/SampleArchive.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <limits>
#include <random>
#include <stdexcept>

#include "base/AtomicFile.h"

namespace pomvella::sample {
namespace {

// std::mt19937's output is fixed by the standard; the distributions are not,
// so values are drawn with plain arithmetic to come out the same everywhere.
class SampleRandom {
public:
    explicit SampleRandom(std::uint32_t seed) : engine_(seed) {}

    std::uint32_t Next() { return static_cast<std::uint32_t>(engine_()); }
    // A value in [low, high]; the modulo bias does not matter for sample data.
    int Between(int low, int high)
    {
        return low + static_cast<int>(Next() % (static_cast<std::uint32_t>(high - low) + 1u));
    }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(Next() >> 24); }

private:
    std::mt19937 engine_;
};

constexpr int kBlack = 0;          // (0, 0, 0), opaque
constexpr int kClearHole = 1;      // a colour with alpha 0: black once converted
constexpr int kFaintOutline = 2;   // alpha 1: nearly black, but not black
constexpr int kFirstShade = 8;     // shades of the shapes start here

// Entry palette position p holds picture palette index PaletteSlot(p): in
// every block of 32, entries 8..15 and 16..23 stand in each other's places.
int PaletteSlot(int position)
{
    const int inBlock = position % 32;
    if (inBlock >= 8 && inBlock < 16)
        return position + 8;
    if (inBlock >= 16 && inBlock < 24)
        return position - 8;
    return position;
}

void SetColour(std::array<std::uint8_t, 1024>& palette, int index, int red, int green, int blue, int alpha)
{
    palette[4 * index] = static_cast<std::uint8_t>(red);
    palette[4 * index + 1] = static_cast<std::uint8_t>(green);
    palette[4 * index + 2] = static_cast<std::uint8_t>(blue);
    palette[4 * index + 3] = static_cast<std::uint8_t>(alpha);
}

std::array<std::uint8_t, 1024> MakePalette(SampleRandom& random)
{
    std::array<std::uint8_t, 1024> palette{};
    SetColour(palette, kBlack, 0, 0, 0, 128);
    SetColour(palette, kClearHole, random.Between(64, 255), random.Between(64, 255), random.Between(64, 255), 0);
    SetColour(palette, kFaintOutline, random.Between(64, 255), random.Between(64, 255), random.Between(64, 255), 1);
    // The alphas whose handling differs: the edges of the scaled range and opaque.
    const int special[] = {127, 128, 255, 0, 1};
    for (int i = 0; i < 5; ++i)
        SetColour(palette, 3 + i, random.Between(40, 255), random.Between(40, 255), random.Between(40, 255),
                  special[i]);
    for (int index = kFirstShade; index < 256; ++index) {
        // Mostly opaque (128 and above), some translucent; never so dark that
        // a shape turns black.
        const int alpha = random.Between(0, 9) < 7 ? random.Between(128, 255) : random.Between(96, 127);
        SetColour(palette, index, random.Between(40, 255), random.Between(40, 255), random.Between(40, 255), alpha);
    }
    return palette;
}

class Canvas {
public:
    explicit Canvas(SampleTexture& texture) : texture_(texture) {}

    void Ellipse(int cx, int cy, int rx, int ry, int firstIndex, int shades)
    {
        const std::int64_t rx2 = static_cast<std::int64_t>(rx) * rx;
        const std::int64_t ry2 = static_cast<std::int64_t>(ry) * ry;
        for (int y = std::max(0, cy - ry); y <= std::min(texture_.height - 1, cy + ry); ++y) {
            for (int x = std::max(0, cx - rx); x <= std::min(texture_.width - 1, cx + rx); ++x) {
                const std::int64_t dx = x - cx;
                const std::int64_t dy = y - cy;
                if (dx * dx * ry2 + dy * dy * rx2 <= rx2 * ry2)
                    Put(x, y, firstIndex + (y / 12) % shades);
            }
        }
    }

    void Rectangle(int left, int top, int right, int bottom, int firstIndex, int shades)
    {
        for (int y = std::max(0, top); y < std::min(texture_.height, bottom); ++y)
            for (int x = std::max(0, left); x < std::min(texture_.width, right); ++x)
                Put(x, y, firstIndex + (x / 10) % shades);
    }

private:
    void Put(int x, int y, int index)
    {
        texture_.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(texture_.width) +
                        static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(index);
    }

    SampleTexture& texture_;
};

std::int32_t CheckedEntrySize(int width, int height)
{
    if (width < 0 || height < 0 || width > 0xFFFF || height > 0xFFFF)
        throw std::invalid_argument("texture width and height must be 0 to 65535");
    const std::uint64_t size = 1088 + static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    if (size > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
        throw std::invalid_argument("texture too large for a pack entry");
    return static_cast<std::int32_t>(size);
}

std::array<std::uint8_t, 24> NameField(std::string_view name)
{
    if (name.size() > 24)
        throw std::invalid_argument("entry names hold at most 24 bytes");
    std::array<std::uint8_t, 24> field{};
    std::copy(name.begin(), name.end(), field.begin());
    return field;
}

// Records that nearly carry a wanted name and must never be taken for one.
std::vector<std::array<std::uint8_t, 24>> DecoyFields(SampleRandom& random)
{
    std::vector<std::array<std::uint8_t, 24>> fields;
    for (const std::string_view wanted : kWantedNames) {
        std::string lower(wanted);
        lower[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(lower[0])));
        std::string lowerExtension(wanted);
        for (std::size_t i = lowerExtension.rfind('.'); i < lowerExtension.size(); ++i)
            lowerExtension[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(lowerExtension[i])));
        fields.push_back(NameField(lower));
        fields.push_back(NameField(std::string(wanted) + " "));
        fields.push_back(NameField(lowerExtension));
        // Fills the field: no NUL, so the name is 24 bytes long.
        auto full = NameField(wanted);
        for (std::size_t i = wanted.size(); i < full.size(); ++i)
            full[i] = static_cast<std::uint8_t>('A' + random.Between(0, 25));
        fields.push_back(full);
    }
    return fields;
}

std::string OtherName(SampleRandom& random)
{
    static constexpr const char* kExtensions[] = {".BM2", ".BMP", ".OGG", ".TXT", ".SCN", ".WAV", ".DAT"};
    static constexpr char kLetters[] = "ABCDEGHSVC";
    std::string name(1, kLetters[random.Between(0, 9)]);
    const int digits = random.Between(4, 8);
    for (int i = 0; i < digits; ++i)
        name += static_cast<char>('0' + random.Between(0, 9));
    return name + kExtensions[random.Between(0, 6)];
}

bool IsWantedName(std::string_view name, const std::vector<std::string>& wanted)
{
    return std::find(kWantedNames.begin(), kWantedNames.end(), name) != kWantedNames.end() ||
           std::find(wanted.begin(), wanted.end(), name) != wanted.end();
}

// What one record holds before the data file is laid out.
struct PlannedRecord {
    std::array<std::uint8_t, 24> nameField{};
    Bytes bytes;
};

}  // namespace

SampleTexture MakeCharacterPicture(std::uint32_t seed, int width, int height)
{
    CheckedEntrySize(width, height);
    SampleRandom random(seed);
    SampleTexture texture;
    texture.width = width;
    texture.height = height;
    texture.palette = MakePalette(random);
    texture.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kBlack);

    // A figure inside every crop rectangle: (29..355, 12..363) is common to all.
    Canvas canvas(texture);
    const int cx = random.Between(180, 220);
    const int cy = random.Between(185, 215);
    const int headRx = random.Between(48, 62);
    const int headRy = random.Between(52, 66);
    const int headCy = cy - 95;
    const int bodyRx = random.Between(70, 90);
    const int bodyRy = random.Between(95, 115);
    const int bodyCy = cy + 50;
    const int shade = kFirstShade + 4 * random.Between(0, 59);
    const int skin = kFirstShade + 4 * random.Between(0, 59);
    const int cloth = 3 + random.Between(0, 3);  // alpha 127, 128, 255 or 0 shades in stripes

    // Arms first, the body over them.
    canvas.Rectangle(cx - bodyRx - 30, bodyCy - 60, cx - bodyRx + 20, bodyCy + 40, shade, 4);
    canvas.Rectangle(cx + bodyRx - 20, bodyCy - 60, cx + bodyRx + 30, bodyCy + 40, shade, 4);
    canvas.Ellipse(cx, bodyCy, bodyRx, bodyRy, cloth, 2);
    canvas.Ellipse(cx, bodyCy, bodyRx - 6, bodyRy - 6, shade, 4);
    // A faint outline around the head: nearly black pixels that are not black.
    canvas.Ellipse(cx, headCy, headRx + 3, headRy + 3, kFaintOutline, 1);
    canvas.Ellipse(cx, headCy, headRx, headRy, skin, 3);
    // Enclosed holes: eyes of pure black, a clear patch on the body.
    canvas.Ellipse(cx - headRx / 3, headCy - 5, 7, 5, kBlack, 1);
    canvas.Ellipse(cx + headRx / 3, headCy - 5, 7, 5, kBlack, 1);
    canvas.Ellipse(cx, bodyCy + 10, 14, 18, kClearHole, 1);
    canvas.Rectangle(cx - 20, bodyCy - 50, cx - 8, bodyCy - 30, kBlack, 1);
    // A few loose spots in other colours around the figure.
    for (int spot = 0; spot < 6; ++spot) {
        canvas.Ellipse(random.Between(20, 390), random.Between(20, 370), random.Between(3, 10), random.Between(3, 10),
                       kFirstShade + random.Between(0, 247), 1);
    }
    return texture;
}

Bytes MakeTextureEntry(const SampleTexture& texture, std::uint32_t headerSeed)
{
    const std::int32_t entrySize = CheckedEntrySize(texture.width, texture.height);
    SampleRandom random(headerSeed);
    Bytes entry;
    entry.reserve(static_cast<std::size_t>(entrySize));
    ByteWriter out(entry);
    // 14-byte file header
    out.U8('B');
    out.U8('M');
    out.U32(static_cast<std::uint32_t>(entrySize));
    out.U16(static_cast<std::uint16_t>(random.Between(0, 0xFFFF)));  // reserved words, not kept
    out.U16(static_cast<std::uint16_t>(random.Between(0, 0xFFFF)));
    out.U32(1088);  // rows begin after the 64-byte header block and the palette
    // 40-byte info header, stored with a size that counts the 10 further bytes
    out.U32(50);
    out.I32(texture.width);
    out.I32(texture.height);
    out.U16(1);
    out.U16(8);
    out.U32(0);
    out.U32(static_cast<std::uint32_t>(entrySize - 1088));
    out.U32(2835);
    out.U32(2835);
    out.U32(256);
    out.U32(0);
    for (int i = 0; i < 10; ++i)
        out.U8(random.Byte());
    for (int position = 0; position < 256; ++position) {
        const auto slot = static_cast<std::size_t>(4 * PaletteSlot(position));
        out.Append(ByteSpan(texture.palette).subspan(slot, 4));
    }
    out.Append(texture.pixels);
    return entry;
}

SampleArchive MakeSampleArchive(const SampleArchiveOptions& options)
{
    SampleRandom random(options.seed);

    // The wanted records in their order, with the decoys merged in at random.
    std::vector<PlannedRecord> special;
    for (const std::string& name : options.wanted) {
        PlannedRecord record{NameField(name), {}};
        if (options.nulGarbage) {
            for (std::size_t i = name.size() + 1; i < record.nameField.size(); ++i)
                record.nameField[i] = static_cast<std::uint8_t>(random.Between(1, 255));
        }
        const int pickedWidth = 412 + 4 * random.Between(0, 57);
        const int pickedHeight = random.Between(384, 512);
        const int width = options.textureWidth.value_or(pickedWidth);
        const int height = options.textureHeight.value_or(pickedHeight);
        const std::uint32_t pictureSeed = random.Next();
        record.bytes = MakeTextureEntry(MakeCharacterPicture(pictureSeed, width, height), random.Next());
        special.push_back(std::move(record));
    }
    if (options.decoys) {
        for (const auto& field : DecoyFields(random)) {
            PlannedRecord decoy{field, MakeTextureEntry(MakeCharacterPicture(random.Next(), 32, 16), random.Next())};
            const auto at = static_cast<std::ptrdiff_t>(random.Between(0, static_cast<int>(special.size())));
            special.insert(special.begin() + at, std::move(decoy));
        }
    }

    const std::size_t total = std::max<std::size_t>(static_cast<std::size_t>(std::max(options.recordCount, 0)),
                                                    special.size());
    if (total > 0xFFFF)
        throw std::invalid_argument("an index holds at most 65535 records");

    // Which record numbers the special records take: a sorted random subset.
    std::vector<std::size_t> slots(total);
    for (std::size_t i = 0; i < total; ++i)
        slots[i] = i;
    for (std::size_t i = 0; i < special.size(); ++i) {
        const auto j = i + static_cast<std::size_t>(random.Between(0, static_cast<int>(total - i - 1)));
        std::swap(slots[i], slots[j]);
    }
    std::vector<bool> isSpecial(total, false);
    slots.resize(special.size());
    std::sort(slots.begin(), slots.end());
    for (const std::size_t slot : slots)
        isSpecial[slot] = true;

    SampleArchive archive;
    archive.padding = options.padding;
    std::size_t nextSpecial = 0;
    for (std::size_t i = 0; i < total; ++i) {
        PlannedRecord planned;
        if (isSpecial[i]) {
            planned = std::move(special[nextSpecial++]);
        } else {
            std::string name = OtherName(random);
            while (IsWantedName(name, options.wanted))
                name = OtherName(random);
            planned.nameField = NameField(name);
            planned.bytes.resize(static_cast<std::size_t>(random.Between(16, 400)));
            for (std::uint8_t& byte : planned.bytes)
                byte = random.Byte();
        }
        const std::uint64_t offset = options.padding + archive.data.size();
        if (offset + planned.bytes.size() > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
            throw std::invalid_argument("the data file would pass 2 GiB");
        archive.records.push_back({planned.nameField, static_cast<std::int32_t>(offset),
                                   static_cast<std::int32_t>(planned.bytes.size())});
        archive.data.insert(archive.data.end(), planned.bytes.begin(), planned.bytes.end());
    }

    const std::uint32_t count = options.headerCount.value_or(static_cast<std::uint32_t>(total));
    if (count > 0xFFFF)
        throw std::invalid_argument("the entry count is 16 bits");
    ByteWriter index(archive.index);
    index.Append(options.magic);
    index.U16(static_cast<std::uint16_t>(count));
    index.U16(static_cast<std::uint16_t>(random.Between(0, 0xFFFF)));  // not part of the count
    for (const SampleRecord& record : archive.records) {
        index.Append(record.nameField);
        index.I32(record.offset);
        index.I32(record.size);
    }
    return archive;
}

void WriteSampleArchive(const SampleArchive& archive, const std::filesystem::path& indexPath,
                        const std::filesystem::path& dataPath)
{
    ReplaceFileAtomically(indexPath, archive.index);

    // Streamed rather than built in memory: the padding may be hundreds of
    // megabytes. Written beside the target and renamed over it at the end.
    std::filesystem::path temporary = dataPath;
    temporary += ".partial";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            throw FileCreateError(dataPath);
        if (archive.padding > 0) {
            // Seeking past the end leaves a hole; one byte at the end of the
            // padding makes sure the file reaches it even without data.
            out.seekp(static_cast<std::streamoff>(archive.padding - 1));
            out.put('\0');
        }
        out.write(reinterpret_cast<const char*>(archive.data.data()),
                  static_cast<std::streamsize>(archive.data.size()));
        out.close();
        if (!out)
            throw WriteError();
    }
    std::filesystem::rename(temporary, dataPath);
}

}  // namespace pomvella::sample
