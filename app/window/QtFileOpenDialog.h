#pragma once

#include "app/window/FileOpenDialog.h"

class QWidget;

namespace pomvella {

// FileOpenDialog as a QFileDialog, made afresh for every browse so that the
// name box starts empty and the filter is the caller's alone.
class QtFileOpenDialog : public FileOpenDialog {
public:
    explicit QtFileOpenDialog(QWidget* owner) : owner_(owner) {}
    std::optional<QString> Execute(const QString& fileName) override;

private:
    QWidget* owner_;
};

}  // namespace pomvella
