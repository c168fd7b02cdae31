#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "base/Bytes.h"

namespace pomvella {

// An existing file opened for reading. Reads deliver their full count or raise
// "ｽﾄﾘｰﾑからの読み込みｴﾗｰ"; opening fails with "ﾌｧｲﾙ %s は開けません".
class InputFile {
public:
    explicit InputFile(const std::filesystem::path& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const std::filesystem::path& Path() const { return path_; }

    // The size now: the file may change while it is open.
    std::uint64_t Size() const;
    std::uint64_t Position() const { return position_; }
    void Seek(std::uint64_t position);

    void Read(MutableByteSpan out);
    // Reads count bytes; checks them against the file's size before allocating.
    Bytes Read(std::size_t count);

private:
    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
    std::uint64_t position_ = 0;
};

// The whole content of a file, checked against its size before allocating.
Bytes ReadWholeFile(const std::filesystem::path& path);

}  // namespace pomvella
