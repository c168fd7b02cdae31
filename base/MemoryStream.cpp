#include "base/MemoryStream.h"

#include <algorithm>
#include <new>

#include "base/AtomicFile.h"

namespace pomvella {

MutableByteSpan MemoryStream::Reserve(std::size_t count)
{
    if (position_ > SIZE_MAX - count)
        throw MemoryStreamFullError();
    const std::size_t end = position_ + count;
    try {
        if (end > bytes_.size())
            bytes_.resize(end);
    } catch (const std::bad_alloc&) {
        throw MemoryStreamFullError();
    } catch (const std::length_error&) {
        throw MemoryStreamFullError();
    }
    return MutableByteSpan(bytes_).subspan(position_, count);
}

void MemoryStream::Write(ByteSpan bytes)
{
    if (bytes.empty())
        return;
    std::copy(bytes.begin(), bytes.end(), Reserve(bytes.size()).begin());
    position_ += bytes.size();
}

void MemoryStream::Read(MutableByteSpan out)
{
    if (position_ > bytes_.size() || bytes_.size() - position_ < out.size())
        throw ReadError();
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(position_), out.size(), out.begin());
    position_ += out.size();
}

void MemoryStream::CopyFrom(InputFile& file, std::size_t count)
{
    // Checked before growing, so a size taken from a file never allocates more
    // than that file holds.
    const std::uint64_t fileSize = file.Size();
    if (file.Position() > fileSize || fileSize - file.Position() < count)
        throw ReadError();
    file.Read(Reserve(count));
    position_ += count;
}

void MemoryStream::SaveToFile(const std::filesystem::path& path) const { ReplaceFileAtomically(path, bytes_); }

}  // namespace pomvella
