#pragma once

#include <functional>
#include <string>

#include "base/Error.h"

namespace pomvella::testing {

// The message of the pomvella::Error that action raises, or "(no error)".
inline std::string ErrorText(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "(no error)";
}

}  // namespace pomvella::testing
