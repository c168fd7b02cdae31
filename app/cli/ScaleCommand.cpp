// pomvella-cli scale IN OUT WIDTH HEIGHT: the scaler on its own.
#include <cstdint>
#include <optional>
#include <string>

#include "app/cli/Command.h"
#include "imaging/BmpReader.h"
#include "imaging/BmpWriter.h"
#include "imaging/Scaler.h"

namespace pomvella::cli {
namespace {

constexpr const char* kScaleUsage = "scale IN OUT WIDTH HEIGHT";

// Each side at most 65535 and the target at most 64 Mi pixels (192 MiB of
// pixels): enough for any picture the tool handles, small enough that a typo
// does not ask for gigabytes.
constexpr std::uint32_t kMaxSide = 65535;
constexpr std::uint64_t kMaxPixels = 64ull * 1024 * 1024;

// Decimal digits only: no sign, no spaces, no zero size.
std::optional<int> ParseSide(const std::string& text)
{
    if (text.empty() || text.size() > 5)
        return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (value == 0 || value > kMaxSide)
        return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace

int RunScaleCommand(const Invocation& invocation)
{
    const std::vector<std::string>& arguments = invocation.arguments;
    if (arguments.size() != 4)
        return UsageError(invocation, kScaleUsage);
    const std::optional<int> width = ParseSide(arguments[2]);
    const std::optional<int> height = ParseSide(arguments[3]);
    if (!width || !height) {
        invocation.err << "pomvella-cli scale: WIDTH and HEIGHT must be whole numbers from 1 to " << kMaxSide << '\n';
        return UsageError(invocation, kScaleUsage);
    }
    if (static_cast<std::uint64_t>(*width) * static_cast<std::uint64_t>(*height) > kMaxPixels) {
        invocation.err << "pomvella-cli scale: WIDTH x HEIGHT must not exceed " << kMaxPixels << " pixels\n";
        return UsageError(invocation, kScaleUsage);
    }
    const Picture source = LoadBmpFile(arguments[0]);
    SaveBmp24(ScaleAreaAverage(source, *width, *height), arguments[1]);
    return kDone;
}

}  // namespace pomvella::cli
