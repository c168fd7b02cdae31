#include "base/AtomicFile.h"

#include <cstdio>
#include <random>
#include <string>
#include <system_error>

#include "base/Error.h"
#include "base/Platform.h"

namespace pomvella {
namespace {

// ".<name>.<16 hex digits>.tmp" beside the target. Built with path
// operations so that a non-ASCII name keeps its characters on every system.
std::filesystem::path TemporarySibling(const std::filesystem::path& path, std::uint64_t tag)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string suffix = ".";
    for (int shift = 60; shift >= 0; shift -= 4)
        suffix += kHex[(tag >> shift) & 0xF];
    std::filesystem::path name = ".";
    name += path.filename();
    name += suffix + ".tmp";
    return path.parent_path() / name;
}

// Owns the temporary file until it has been renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& target)
    {
        std::random_device entropy;
        std::mt19937_64 generator((static_cast<std::uint64_t>(entropy()) << 32) ^ entropy());
        for (int attempt = 0; attempt < 16 && file_ == nullptr; ++attempt) {
            path_ = TemporarySibling(target, generator());
            file_ = platform::CreateNew(path_);
        }
        if (file_ == nullptr)
            throw FileCreateError(target);
    }

    ~TemporaryFile()
    {
        if (file_ != nullptr)
            std::fclose(file_);
        if (!committed_) {
            std::error_code ignored;
            std::filesystem::remove(path_, ignored);
        }
    }

    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    void Write(ByteSpan bytes)
    {
        if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
            throw WriteError();
        const bool flushed = platform::FlushToDisk(file_);
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        if (!flushed || !closed)
            throw WriteError();
    }

    void RenameOver(const std::filesystem::path& target)
    {
        std::error_code error;
        std::filesystem::rename(path_, target, error);
        if (error)
            throw FileCreateError(target);
        committed_ = true;
    }

private:
    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
    bool committed_ = false;
};

}  // namespace

void ReplaceFileAtomically(const std::filesystem::path& path, ByteSpan bytes)
{
    TemporaryFile temporary(path);
    temporary.Write(bytes);
    temporary.RenameOver(path);
}

}  // namespace pomvella
