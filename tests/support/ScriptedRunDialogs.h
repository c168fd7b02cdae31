#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <vector>

#include "app/run/RunCommand.h"

namespace pomvella::testing {

// RunDialogs that answers from a script and records what it was asked.
class ScriptedRunDialogs : public RunDialogs {
public:
    bool ShowMessage(RunMessage message) override
    {
        shown.push_back(message);
        if (onShow)
            onShow(message);
        const auto answer = answers.find(message);
        return answer == answers.end() || answer->second;
    }
    void LaunchHost(const std::filesystem::path& host) override { launched.push_back(host); }

    std::map<RunMessage, bool> answers;  // false closes that box with Cancel; OK otherwise
    std::function<void(RunMessage)> onShow;  // looks at the world while a box is open
    std::vector<RunMessage> shown;
    std::vector<std::filesystem::path> launched;
};

}  // namespace pomvella::testing
