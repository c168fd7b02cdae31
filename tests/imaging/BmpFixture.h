#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/Bytes.h"

namespace pomvella::testing {

// A BMP file put together field by field, independently of the writer under
// test, so that reader tests can vary what the writer never produces.
struct BmpFields {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitCount = 24;
    std::uint32_t infoSize = 40;
    std::uint32_t coloursUsed = 0;
    std::vector<std::uint8_t> table;  // colour table bytes as stored
    std::size_t gap = 0;              // bytes between the colour table and the rows
    std::vector<std::uint8_t> rows;   // pixel rows as stored, padding included
};

inline Bytes BuildBmp(const BmpFields& fields)
{
    const std::uint32_t offset =
        static_cast<std::uint32_t>(14 + fields.infoSize + fields.table.size() + fields.gap);
    Bytes file;
    ByteWriter writer(file);
    writer.U8('B');
    writer.U8('M');
    writer.U32(static_cast<std::uint32_t>(offset + fields.rows.size()));
    writer.U32(0);
    writer.U32(offset);
    writer.U32(fields.infoSize);
    writer.I32(fields.width);
    writer.I32(fields.height);
    writer.U16(1);
    writer.U16(fields.bitCount);
    writer.U32(0);
    writer.U32(static_cast<std::uint32_t>(fields.rows.size()));
    writer.U32(2835);
    writer.U32(2835);
    writer.U32(fields.coloursUsed);
    writer.U32(0);
    for (std::uint32_t i = 40; i < fields.infoSize; ++i)
        writer.U8(0xEE);  // fields of a longer info header, which the reader skips
    writer.Append(fields.table);
    for (std::size_t i = 0; i < fields.gap; ++i)
        writer.U8(0xDD);
    writer.Append(fields.rows);
    return file;
}

}  // namespace pomvella::testing
