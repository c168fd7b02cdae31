#include "archive/PackArchive.h"

#include <algorithm>
#include <array>

namespace pomvella {
namespace {

constexpr std::array<std::uint8_t, 4> kPackMagic = {'P', 'A', 'C', 'K'};

}  // namespace

std::optional<std::uint16_t> ReadPackHeader(InputFile& index)
{
    std::array<std::uint8_t, kPackHeaderSize> header{};
    index.Seek(0);
    index.Read(header);
    // A NUL among the first four bytes ends the magic early, so only the four
    // letters in this order pass.
    if (!std::equal(kPackMagic.begin(), kPackMagic.end(), header.begin()))
        return std::nullopt;
    // Bytes 6 and 7 are not part of the count.
    return LoadU16(header, 4);
}

PackEntry ParsePackEntry(ByteSpan record)
{
    ByteReader reader(record);
    const ByteSpan nameField = reader.Take(kPackNameFieldSize);
    const auto end = std::find(nameField.begin(), nameField.end(), std::uint8_t{0});
    PackEntry entry;
    entry.name.assign(nameField.begin(), end);
    entry.offset = reader.I32();
    entry.size = reader.I32();
    return entry;
}

PackEntry ReadPackEntry(InputFile& index, int i)
{
    if (i < 1)
        throw ReadError();
    std::array<std::uint8_t, kPackRecordSize> record{};
    index.Seek(kPackHeaderSize + kPackRecordSize * static_cast<std::uint64_t>(i - 1));
    index.Read(record);
    return ParsePackEntry(record);
}

bool NameMatches(const std::string& name, std::string_view wanted) { return std::string_view(name) == wanted; }

PackArchive::PackArchive(Key, std::unique_ptr<InputFile> indexStream, std::uint16_t entryCount,
                         std::unique_ptr<InputFile> dataStream)
    : indexStream_(std::move(indexStream)), dataStream_(std::move(dataStream)), entryCount_(entryCount)
{
}

PackArchive::~PackArchive() { ClosePackArchive(); }

std::unique_ptr<PackArchive> PackArchive::OpenPackArchive(const std::filesystem::path& indexPath,
                                                          const std::filesystem::path& dataPath)
{
    auto indexStream = std::make_unique<InputFile>(indexPath);
    const std::optional<std::uint16_t> entryCount = ReadPackHeader(*indexStream);
    if (!entryCount)
        return nullptr;  // the index closes here; the data file stays unopened
    auto dataStream = std::make_unique<InputFile>(dataPath);
    return std::make_unique<PackArchive>(Key{}, std::move(indexStream), *entryCount, std::move(dataStream));
}

PackEntry PackArchive::ReadPackEntry(int i)
{
    if (!indexStream_)
        throw ReadError();
    return pomvella::ReadPackEntry(*indexStream_, i);
}

InputFile& PackArchive::DataStream()
{
    if (!dataStream_)
        throw ReadError();
    return *dataStream_;
}

void PackArchive::ClosePackArchive()
{
    dataStream_.reset();
    indexStream_.reset();
}

}  // namespace pomvella
