#pragma once

#include <filesystem>

#include <QString>

namespace pomvella {

// Conversions between Qt's strings and paths, through UTF-8 on every system.
QString QStringFromPath(const std::filesystem::path& path);
std::filesystem::path PathFromQString(const QString& text);

}  // namespace pomvella
