#pragma once

#include <string>

#include "app/run/RunCommand.h"

namespace pomvella {

// Everything the window shows modally besides the file dialog: the run
// command's message boxes, the host's start and the application's default
// error box, which reports an error that ended a button handler.
class FormDialogs : public RunDialogs {
public:
    // text is already in its shown form (ErrorBoxText).
    virtual void ShowErrorBox(const std::string& text) = 0;
};

}  // namespace pomvella
