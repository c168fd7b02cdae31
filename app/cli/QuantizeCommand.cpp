// pomvella-cli quantize IN OUT [--colors N]: the octree colour reduction on
// its own, from a 24-bit BMP file to an 8-bit one.
#include <cstdint>
#include <optional>
#include <string>

#include "app/cli/Bmp24RowReader.h"
#include "app/cli/Command.h"
#include "imaging/BmpReader.h"
#include "imaging/BmpWriter.h"
#include "quantize/ColorReducer.h"
#include "quantize/ReduceColors.h"

namespace pomvella::cli {
namespace {

constexpr const char* kQuantizeUsage = "quantize IN OUT [--colors N]";
constexpr int kDefaultColors = 256;

// A whole number with an optional "-". Values outside 2 to 256 are passed on:
// the reduction itself rejects them with its assertion.
std::optional<int> ParseColorCount(const std::string& text)
{
    std::size_t first = text.starts_with('-') ? 1 : 0;
    // Up to 9 digits: no overflow, and far outside the range anyway.
    if (text.size() == first || text.size() - first > 9)
        return std::nullopt;
    int value = 0;
    for (std::size_t i = first; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return first == 1 ? -value : value;
}

// Two passes over the file, a band of rows at a time: the picture itself is
// never in memory, only the tree and then the 8-bit result.
void QuantizeStreamed(Bmp24RowReader& rows, int colors, const std::filesystem::path& out)
{
    ColorReducer reducer(colors);
    rows.ForEachRow([&](std::span<const std::uint8_t> row) { reducer.AddRow(row); });
    Picture output(PixelFormat::Indexed8, rows.Width(), rows.Height());
    output.SetPalette(reducer.Finish());
    int y = 0;
    rows.ForEachRow([&](std::span<const std::uint8_t> row) { reducer.IndexRow(row, output.Row(y++)); });
    SaveBmp8(output, out);
}

}  // namespace

int RunQuantizeCommand(const Invocation& invocation)
{
    std::vector<std::string> paths;
    int colors = kDefaultColors;
    const std::vector<std::string>& arguments = invocation.arguments;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] != "--colors") {
            paths.push_back(arguments[i]);
            continue;
        }
        const std::optional<int> parsed =
            i + 1 < arguments.size() ? ParseColorCount(arguments[i + 1]) : std::nullopt;
        if (!parsed) {
            invocation.err << "pomvella-cli quantize: --colors takes a whole number (2 to 256)\n";
            return UsageError(invocation, kQuantizeUsage);
        }
        colors = *parsed;
        ++i;
    }
    if (paths.size() != 2)
        return UsageError(invocation, kQuantizeUsage);

    if (const auto rows = Bmp24RowReader::Open(paths[0])) {
        QuantizeStreamed(*rows, colors, paths[1]);
        return kDone;
    }
    // 8-bit and broken files: the full reader and ReduceColors report them.
    const Picture source = LoadBmpFile(paths[0]);
    SaveBmp8(*ReduceColors(source, colors), paths[1]);
    return kDone;
}

}  // namespace pomvella::cli
