#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "base/Bytes.h"

namespace pomvella::testing {

inline void WriteFile(const std::filesystem::path& path, ByteSpan bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A hand-built index: header, then records appended one by one.
class IndexBuilder {
public:
    explicit IndexBuilder(std::string_view magic = "PACK", std::uint16_t count = 0, std::uint16_t unused = 0)
    {
        ByteWriter out(bytes_);
        out.Append(ByteSpan(reinterpret_cast<const std::uint8_t*>(magic.data()), magic.size()));
        out.U16(count);
        out.U16(unused);
    }

    // The name field is the name followed by NULs, or by tail when given.
    IndexBuilder& Record(std::string_view name, std::int32_t offset, std::int32_t size, std::string_view tail = {})
    {
        std::array<std::uint8_t, 24> field{};
        std::string text = std::string(name) + std::string(tail);
        std::copy_n(text.begin(), std::min<std::size_t>(text.size(), 24), field.begin());
        ByteWriter out(bytes_);
        out.Append(field);
        out.I32(offset);
        out.I32(size);
        return *this;
    }

    const pomvella::Bytes& Data() const { return bytes_; }

private:
    pomvella::Bytes bytes_;
};

}  // namespace pomvella::testing
