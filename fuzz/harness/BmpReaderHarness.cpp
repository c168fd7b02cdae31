#include "base/Error.h"
#include "fuzz/harness/Harness.h"
#include "imaging/BmpReader.h"
#include "imaging/BmpWriter.h"
#include "imaging/PictureOps.h"

namespace pomvella::fuzz {

void FuzzBmpReader(ByteSpan input)
{
    Picture picture;
    try {
        picture = DecodeBmp(input);
    } catch (const Error& error) {
        const std::string message = error.what();
        POMVELLA_FUZZ_CHECK(message == InvalidBitmapError().what() || message == ReadError().what());
        return;
    }
    POMVELLA_FUZZ_CHECK(picture.Width() >= 0 && picture.Height() >= 0);
    POMVELLA_FUZZ_CHECK(picture.Pixels().size() == picture.RowBytes() * static_cast<std::size_t>(picture.Height()));
    if (picture.Format() == PixelFormat::Indexed8)
        POMVELLA_FUZZ_CHECK(picture.Palette().size() == 256);

    // Rows are padded to 4 bytes and never shorter than their pixels, so a
    // picture holds no more pixel bytes than the file did.
    POMVELLA_FUZZ_CHECK(picture.Pixels().size() <= input.size());

    const Picture expected24 = ConvertTo24(picture);
    POMVELLA_FUZZ_CHECK(DecodeBmp(EncodeBmp24(picture)) == expected24);
    if (picture.Format() == PixelFormat::Indexed8)
        POMVELLA_FUZZ_CHECK(DecodeBmp(EncodeBmp8(picture)) == picture);
}

}  // namespace pomvella::fuzz
