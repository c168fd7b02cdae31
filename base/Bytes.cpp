#include "base/Bytes.h"

namespace pomvella {
namespace {

void RequireRange(std::size_t size, std::size_t offset, std::size_t length)
{
    if (offset > size || size - offset < length)
        throw ReadError();
}

}  // namespace

std::uint16_t LoadU16(ByteSpan bytes, std::size_t offset)
{
    RequireRange(bytes.size(), offset, 2);
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::uint32_t LoadU32(ByteSpan bytes, std::size_t offset)
{
    RequireRange(bytes.size(), offset, 4);
    return static_cast<std::uint32_t>(bytes[offset]) | (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) | (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

std::int32_t LoadI32(ByteSpan bytes, std::size_t offset)
{
    return static_cast<std::int32_t>(LoadU32(bytes, offset));
}

void StoreU16(MutableByteSpan bytes, std::size_t offset, std::uint16_t value)
{
    RequireRange(bytes.size(), offset, 2);
    bytes[offset] = static_cast<std::uint8_t>(value);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void StoreU32(MutableByteSpan bytes, std::size_t offset, std::uint32_t value)
{
    RequireRange(bytes.size(), offset, 4);
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void StoreI32(MutableByteSpan bytes, std::size_t offset, std::int32_t value)
{
    StoreU32(bytes, offset, static_cast<std::uint32_t>(value));
}

void ByteReader::Require(std::size_t count) const
{
    if (Remaining() < count)
        throw onShort_();
}

void ByteReader::Seek(std::size_t position)
{
    if (position > bytes_.size())
        throw onShort_();
    position_ = position;
}

void ByteReader::Skip(std::size_t count)
{
    Require(count);
    position_ += count;
}

std::uint8_t ByteReader::U8()
{
    Require(1);
    return bytes_[position_++];
}

std::uint16_t ByteReader::U16()
{
    Require(2);
    const std::uint16_t value = LoadU16(bytes_, position_);
    position_ += 2;
    return value;
}

std::uint32_t ByteReader::U32()
{
    Require(4);
    const std::uint32_t value = LoadU32(bytes_, position_);
    position_ += 4;
    return value;
}

std::int32_t ByteReader::I32() { return static_cast<std::int32_t>(U32()); }

ByteSpan ByteReader::Take(std::size_t count)
{
    Require(count);
    const ByteSpan taken = bytes_.subspan(position_, count);
    position_ += count;
    return taken;
}

void ByteWriter::U16(std::uint16_t value)
{
    out_.push_back(static_cast<std::uint8_t>(value));
    out_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::U32(std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace pomvella
