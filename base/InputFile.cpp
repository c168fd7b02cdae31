#include "base/InputFile.h"

#include "base/Platform.h"

namespace pomvella {

InputFile::InputFile(const std::filesystem::path& path) : path_(path), file_(platform::OpenForReading(path))
{
    if (file_ == nullptr)
        throw FileOpenError(path);
    // Every read goes to the file as it is now: a buffer would keep serving
    // bytes (index records, say) that another program has since cut off.
    std::setvbuf(file_, nullptr, _IONBF, 0);
}

InputFile::~InputFile() { std::fclose(file_); }

std::uint64_t InputFile::Size() const
{
    const auto size = platform::SizeOf(file_);
    if (!size)
        throw ReadError();
    return *size;
}

void InputFile::Seek(std::uint64_t position)
{
    if (!platform::SeekTo(file_, position))
        throw ReadError();
    position_ = position;
}

void InputFile::Read(MutableByteSpan out)
{
    if (out.empty())
        return;
    const std::size_t got = std::fread(out.data(), 1, out.size(), file_);
    position_ += got;
    if (got != out.size())
        throw ReadError();
}

Bytes InputFile::Read(std::size_t count)
{
    const std::uint64_t size = Size();
    if (position_ > size || size - position_ < count)
        throw ReadError();
    Bytes bytes(count);
    Read(MutableByteSpan(bytes));
    return bytes;
}

Bytes ReadWholeFile(const std::filesystem::path& path)
{
    InputFile file(path);
    const std::uint64_t size = file.Size();
    if (size > SIZE_MAX)
        throw ReadError();
    return file.Read(static_cast<std::size_t>(size));
}

}  // namespace pomvella
