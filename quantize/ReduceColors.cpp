#include "quantize/ReduceColors.h"

#include "base/Error.h"
#include "quantize/ColorReducer.h"
#include "quantize/Octree.h"

namespace pomvella {

std::unique_ptr<Picture> ReduceColors(const Picture& bitmap, int colorCount)
{
    if (colorCount < 2 || colorCount > 256)
        throw AssertionFailure(kOctreeSourceFile, kColorCountAssertionLine);
    if (bitmap.Format() != PixelFormat::Bgr24)
        throw AssertionFailure(kOctreeSourceFile, kPixelFormatAssertionLine);

    // A picture without columns may still claim two billion rows: with no
    // pixels there is no row to visit.
    const int rows = bitmap.Pixels().empty() ? 0 : bitmap.Height();
    ColorReducer reducer(colorCount);
    for (int y = 0; y < rows; ++y)
        reducer.AddRow(bitmap.Row(y));
    std::vector<Rgb> palette = reducer.Finish();

    auto output = std::make_unique<Picture>(PixelFormat::Indexed8, bitmap.Width(), bitmap.Height());
    output->SetPalette(std::move(palette));
    for (int y = 0; y < rows; ++y)
        reducer.IndexRow(bitmap.Row(y), output->Row(y));
    return output;
}

}  // namespace pomvella
