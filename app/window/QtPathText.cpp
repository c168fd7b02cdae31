#include "app/window/QtPathText.h"

#include "app/run/PathRules.h"
#include "base/Error.h"

namespace pomvella {

QString QStringFromPath(const std::filesystem::path& path)
{
    return QString::fromStdString(PathText(path));
}

std::filesystem::path PathFromQString(const QString& text)
{
    return PathFromText(text.toStdString());
}

}  // namespace pomvella
