#include <gtest/gtest.h>

#include "base/Bytes.h"

namespace pomvella {
namespace {

TEST(BytesTest, LoadsAndStoresAreLittleEndian)
{
    Bytes bytes{0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(LoadU16(bytes, 0), 0x5678);
    EXPECT_EQ(LoadU32(bytes, 0), 0x12345678u);
    EXPECT_EQ(LoadI32(bytes, 4), -1);
    StoreU32(bytes, 4, 0xA1B2C3D4u);
    EXPECT_EQ((Bytes{0x78, 0x56, 0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1}), bytes);
    StoreI32(bytes, 0, -2);
    EXPECT_EQ(LoadU32(bytes, 0), 0xFFFFFFFEu);
    StoreU16(bytes, 6, 0x0102);
    EXPECT_EQ(LoadU16(bytes, 6), 0x0102);
}

TEST(BytesTest, OutOfRangeAccessRaisesInsteadOfReadingPastTheEnd)
{
    Bytes bytes(6);
    EXPECT_THROW(LoadU32(bytes, 3), Error);
    EXPECT_THROW(LoadU16(bytes, 5), Error);
    EXPECT_THROW(LoadU16(bytes, SIZE_MAX), Error);  // offset + length would wrap
    EXPECT_THROW(StoreU32(bytes, 4, 0), Error);
    EXPECT_NO_THROW(LoadU32(bytes, 2));
}

TEST(BytesTest, ReaderWalksFieldsAndRaisesTheFormatsErrorWhenShort)
{
    const Bytes bytes{1, 2, 0, 3, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF};
    ByteReader reader(bytes, &InvalidBitmapError);
    EXPECT_EQ(reader.U8(), 1);
    EXPECT_EQ(reader.U16(), 2);
    EXPECT_EQ(reader.U32(), 3u);
    EXPECT_EQ(reader.I32(), -2);
    EXPECT_EQ(reader.Remaining(), 0u);
    try {
        reader.U8();
        FAIL() << "reading past the end must raise";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), InvalidBitmapError().what());
    }
    reader.Seek(1);
    EXPECT_EQ(reader.Take(2).size(), 2u);
    EXPECT_THROW(reader.Skip(100), Error);
    EXPECT_THROW(reader.Seek(bytes.size() + 1), Error);
}

TEST(BytesTest, WriterAppendsLittleEndianFields)
{
    Bytes out;
    ByteWriter writer(out);
    writer.U8(9);
    writer.U16(0x0A0B);
    writer.U32(0x01020304);
    writer.I32(-1);
    writer.Zeros(2);
    const Bytes tail{7, 8};
    writer.Append(tail);
    EXPECT_EQ(out, (Bytes{9, 0x0B, 0x0A, 4, 3, 2, 1, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 7, 8}));
}

}  // namespace
}  // namespace pomvella
