#pragma once

#include <filesystem>

#include "base/Bytes.h"
#include "imaging/Picture.h"

namespace pomvella {

// Reads an uncompressed BMP file: 8 bits per pixel with a colour table, or 24
// bits per pixel; rows bottom-up (positive height) or top-down (negative
// height), each padded to 4 bytes, the first row at bfOffBits; an info header
// of at least 40 bytes. An 8-bit picture comes back as Indexed8 with a palette
// of 256 entries: the file's biClrUsed colours (0 meaning 256), then black, so
// that indices past the file's table read as black.
//
// Raises "ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です" for anything else (no "BM", compression, other
// bit counts or planes, headers or colour table cut short, impossible sizes)
// and "ｽﾄﾘｰﾑからの読み込みｴﾗｰ" when the pixel data ends before the last row.
Picture DecodeBmp(ByteSpan file);

// Raises "ﾌｧｲﾙ %s は開けません" when the file cannot be opened.
Picture LoadBmpFile(const std::filesystem::path& path);

}  // namespace pomvella
