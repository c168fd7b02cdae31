#include "imaging/ShellThumbnail.h"

#include <new>

#include "base/Error.h"
#include "imaging/BmpReader.h"
#include "imaging/Scaler.h"

namespace pomvella {

bool GetShellThumbnail(const std::filesystem::path& path, Picture& picture, std::uint32_t /*flags*/)
{
    try {
        Picture scaled = ScaleAreaAverage(LoadBmpFile(path), picture.Width(), picture.Height());
        picture = std::move(scaled);
        return true;
    } catch (const Error&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace pomvella
