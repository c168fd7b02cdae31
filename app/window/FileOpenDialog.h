#pragma once

#include <optional>

#include <QString>

namespace pomvella {

// The browse buttons' file-open dialog, behind a seam so tests can answer it.
class FileOpenDialog {
public:
    virtual ~FileOpenDialog() = default;
    // Shows a modal dialog with an empty name box that lists only the files
    // called fileName, whatever their letter case, and accepts only an
    // existing file. Returns its full path with native separators, or nothing
    // when cancelled. The process's current folder stays as it was.
    virtual std::optional<QString> Execute(const QString& fileName) = 0;
};

}  // namespace pomvella
