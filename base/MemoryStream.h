#pragma once

#include <cstddef>
#include <filesystem>

#include "base/Bytes.h"
#include "base/InputFile.h"

namespace pomvella {

// A growable byte buffer with a position, rewritten in place and saved in one
// piece. Reads deliver their full count or raise the read error; growth that
// runs out of memory raises "ﾒﾓﾘｽﾄﾘｰﾑの拡大中にﾒﾓﾘが足りなくなりました".
class MemoryStream {
public:
    MemoryStream() = default;
    explicit MemoryStream(Bytes bytes) : bytes_(std::move(bytes)) {}

    std::size_t Size() const { return bytes_.size(); }
    std::size_t Position() const { return position_; }
    // A position past the end is allowed; a write there fills the gap with zeros.
    void Seek(std::size_t position) { position_ = position; }

    void Write(ByteSpan bytes);
    void Read(MutableByteSpan out);
    // Copies count bytes from the file's current position to this stream's.
    void CopyFrom(InputFile& file, std::size_t count);

    ByteSpan Data() const { return bytes_; }
    Bytes TakeData() { return std::move(bytes_); }

    // Saves the whole content, replacing the file atomically.
    void SaveToFile(const std::filesystem::path& path) const;

private:
    MutableByteSpan Reserve(std::size_t count);

    Bytes bytes_;
    std::size_t position_ = 0;
};

}  // namespace pomvella
