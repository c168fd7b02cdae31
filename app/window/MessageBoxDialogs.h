#pragma once

#include "app/window/FormDialogs.h"

class QWidget;

namespace pomvella {

// FormDialogs as QMessageBoxes owned by the window, and the host started as
// a detached process.
class MessageBoxDialogs : public FormDialogs {
public:
    explicit MessageBoxDialogs(QWidget* owner) : owner_(owner) {}
    bool ShowMessage(RunMessage message) override;
    void LaunchHost(const std::filesystem::path& host) override;
    void ShowErrorBox(const std::string& text) override;

private:
    QWidget* owner_;
};

}  // namespace pomvella
