#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "app/window/FileOpenDialog.h"
#include "app/window/FormDialogs.h"
#include "tests/support/ScriptedRunDialogs.h"

namespace pomvella::testing {

// The window's message boxes, answered from a script.
class ScriptedFormDialogs : public FormDialogs {
public:
    bool ShowMessage(RunMessage message) override { return run.ShowMessage(message); }
    void LaunchHost(const std::filesystem::path& host) override { run.LaunchHost(host); }
    void ShowErrorBox(const std::string& text) override { errorBoxes.push_back(text); }

    ScriptedRunDialogs run;
    std::vector<std::string> errorBoxes;
};

// The browse dialog, answered from a script: each answer is the chosen file,
// or nothing for Cancel.
class ScriptedFileOpenDialog : public FileOpenDialog {
public:
    std::optional<QString> Execute(const QString& fileName) override
    {
        asked.append(fileName);
        if (answers.empty())
            return std::nullopt;
        const bool chosen = answers.front().has_value();
        const QString file = answers.front().value_or(QString());
        answers.pop_front();
        if (!chosen)
            return std::nullopt;
        return file;
    }

    std::deque<std::optional<QString>> answers;
    QStringList asked;  // the file name each dialog listed
};

}  // namespace pomvella::testing
