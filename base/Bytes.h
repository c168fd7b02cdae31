#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/Error.h"

namespace pomvella {

using Bytes = std::vector<std::uint8_t>;
using ByteSpan = std::span<const std::uint8_t>;
using MutableByteSpan = std::span<std::uint8_t>;

// Little-endian loads and stores at a fixed offset. The caller has checked the
// range; a range that does not fit is a programming error reported as a read
// error rather than undefined behaviour.
std::uint16_t LoadU16(ByteSpan bytes, std::size_t offset);
std::uint32_t LoadU32(ByteSpan bytes, std::size_t offset);
std::int32_t LoadI32(ByteSpan bytes, std::size_t offset);
void StoreU16(MutableByteSpan bytes, std::size_t offset, std::uint16_t value);
void StoreU32(MutableByteSpan bytes, std::size_t offset, std::uint32_t value);
void StoreI32(MutableByteSpan bytes, std::size_t offset, std::int32_t value);

// A bounded cursor over bytes read from outside. Every read checks what is
// left first; reading past the end raises the error the format calls for.
class ByteReader {
public:
    using ErrorFactory = Error (*)();

    explicit ByteReader(ByteSpan bytes, ErrorFactory onShort = &ReadError)
        : bytes_(bytes), onShort_(onShort) {}

    std::size_t Position() const { return position_; }
    std::size_t Remaining() const { return bytes_.size() - position_; }
    void Seek(std::size_t position);
    void Skip(std::size_t count);

    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    std::int32_t I32();
    ByteSpan Take(std::size_t count);

private:
    void Require(std::size_t count) const;

    ByteSpan bytes_;
    std::size_t position_ = 0;
    ErrorFactory onShort_;
};

// Appends little-endian values to a byte vector.
class ByteWriter {
public:
    explicit ByteWriter(Bytes& out) : out_(out) {}

    void U8(std::uint8_t value) { out_.push_back(value); }
    void U16(std::uint16_t value);
    void U32(std::uint32_t value);
    void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
    void Append(ByteSpan bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }
    void Zeros(std::size_t count) { out_.insert(out_.end(), count, 0); }

private:
    Bytes& out_;
};

}  // namespace pomvella
