#include "character/NadFile.h"

#include "base/AtomicFile.h"
#include "base/MemoryStream.h"
#include "imaging/BmpWriter.h"
#include "quantize/ReduceColors.h"

namespace pomvella {
namespace {

// The embedded picture's 14-byte BMP file header lands on header bytes 209 to
// 222, which are zero in the template; writing the header again afterwards
// puts those zeros back.
constexpr std::size_t kEmbeddedBmpOffset = kNadHeaderSize - 14;

}  // namespace

Bytes EncodeNadFile(const Picture& picture, const NadHeaderBytes& header, const NadTrailerBytes& trailer)
{
    const std::unique_ptr<Picture> reduced = ReduceColors(picture, 256);
    const Bytes bmp = EncodeBmp8(*reduced);

    MemoryStream stream;
    stream.Write(header);
    stream.Seek(kEmbeddedBmpOffset);
    stream.Write(bmp);
    stream.Write(trailer);
    stream.Seek(0);
    stream.Write(header);
    return stream.TakeData();
}

void WriteNadFile(const Picture& picture, const NadHeaderBytes& header, const NadTrailerBytes& trailer,
                  const std::filesystem::path& path)
{
    ReplaceFileAtomically(path, EncodeNadFile(picture, header, trailer));
}

}  // namespace pomvella
