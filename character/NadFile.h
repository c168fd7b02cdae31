#pragma once

#include <filesystem>

#include "base/Bytes.h"
#include "character/NadHeader.h"
#include "imaging/Picture.h"

namespace pomvella {

// The bytes of "000.NAD" for a 24-bit picture: the header template, the
// picture reduced to 256 colours as an 8-bit BMP without its 14-byte file
// header, and the trailer. The header is written as it is whatever the
// picture's size; the character set always hands over 200 x 186.
Bytes EncodeNadFile(const Picture& picture, const NadHeaderBytes& header, const NadTrailerBytes& trailer);

// Writes path atomically from EncodeNadFile.
void WriteNadFile(const Picture& picture, const NadHeaderBytes& header, const NadTrailerBytes& trailer,
                  const std::filesystem::path& path);

}  // namespace pomvella
