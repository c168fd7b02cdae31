#pragma once

#include <cstddef>
#include <cstdint>

#include "base/Bytes.h"

namespace pomvella::fuzz {

// Reads a fuzz input front to back; past its end every byte reads 0, so any
// input, however short, decides every choice.
class InputCursor {
public:
    explicit InputCursor(ByteSpan input) : input_(input) {}

    std::uint8_t Next() { return position_ < input_.size() ? input_[position_++] : 0; }

    std::uint32_t NextU32()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= static_cast<std::uint32_t>(Next()) << (8 * i);
        return value;
    }

private:
    ByteSpan input_;
    std::size_t position_ = 0;
};

}  // namespace pomvella::fuzz
