#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "archive/PackEntry.h"
#include "base/InputFile.h"

namespace pomvella {

// Index file layout (little-endian):
//   offset          size  field
//   0               4     magic "PACK"
//   4               2     entry count, unsigned
//   6               2     not used
//   8 + 32 (i - 1)  32    directory record i, i = 1 .. entry count
inline constexpr std::size_t kPackHeaderSize = 8;
inline constexpr std::size_t kPackRecordSize = 32;
inline constexpr std::size_t kPackNameFieldSize = 24;

// Reads the 8-byte header at the start of the index. Returns the entry count,
// or nothing when the magic is not exactly "PACK". An index shorter than the
// header raises the read error.
std::optional<std::uint16_t> ReadPackHeader(InputFile& index);

// Reads directory record i (from 1) with one seek and one 32-byte read; the
// directory is never cached. An index that ends first raises the read error.
PackEntry ReadPackEntry(InputFile& index, int i);

// The parsed form of one 32-byte record.
PackEntry ParsePackEntry(ByteSpan record);

// Entry names match when they hold the same bytes: case counts, nothing is trimmed.
bool NameMatches(const std::string& name, std::string_view wanted);

// The pack archive: the index file and the data file beside it, both open for
// the length of one walk over the directory.
class PackArchive {
    // Only OpenPackArchive can make the key, so every archive has passed the magic test.
    struct Key {
        explicit Key() = default;
    };

public:
    // Opens the index, reads its header and tests the magic. On a wrong magic
    // the index is closed again and the result is nullptr; the data file is
    // then never opened. Raises "ﾌｧｲﾙ %s は開けません" for whichever file
    // cannot be opened and the read error for an index shorter than 8 bytes.
    static std::unique_ptr<PackArchive> OpenPackArchive(const std::filesystem::path& indexPath,
                                                        const std::filesystem::path& dataPath);

    PackArchive(Key, std::unique_ptr<InputFile> indexStream, std::uint16_t entryCount,
                std::unique_ptr<InputFile> dataStream);
    ~PackArchive();
    PackArchive(const PackArchive&) = delete;
    PackArchive& operator=(const PackArchive&) = delete;

    std::uint16_t EntryCount() const { return entryCount_; }
    PackEntry ReadPackEntry(int i);
    InputFile& DataStream();

    // Closes the data file, then the index; the destructor does the same.
    void ClosePackArchive();

private:
    std::unique_ptr<InputFile> indexStream_;
    std::unique_ptr<InputFile> dataStream_;
    std::uint16_t entryCount_ = 0;
};

}  // namespace pomvella
