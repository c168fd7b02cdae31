#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "character/CharacterJob.h"
#include "character/NadHeader.h"

namespace pomvella {

// The run command's own messages, numbered as the user's manual numbers them.
enum class RunMessage {
    IndexMissing = 1,  // the index file does not exist
    DataMissing,       // its ".001" sibling does not exist
    HostMissing,       // the host executable does not exist
    Confirm,           // all checks passed: go ahead?
    NotPackArchive,    // the conversion found no "PACK" magic
    Success,           // the set was written: start the host?
};

enum class RunButtons { Ok, OkCancel };
enum class RunIcon { Warning, Information };

struct RunMessageText {
    std::string_view text;  // UTF-8
    RunButtons buttons;
    RunIcon icon;
};

// Caption of every message box of the run command.
inline constexpr std::string_view kRunCaption = "Pomvella";

RunMessageText MessageTextOf(RunMessage message);

// How the run command talks to the user and starts the host; the window shows
// modal message boxes, tests script the answers.
class RunDialogs {
public:
    virtual ~RunDialogs() = default;
    // True only when the box was closed with OK (Cancel, Esc and the close
    // box all count as no).
    virtual bool ShowMessage(RunMessage message) = 0;
    // Starts the host program with no arguments; a failed start is not reported.
    virtual void LaunchHost(const std::filesystem::path& host) = 0;
};

// The window's fields that one run writes and keeps until the next press.
struct RunState {
    std::string IndexPath;              // the index box's text, untrimmed
    std::filesystem::path DataPath;     // IndexPath with the extension ".001"
    std::filesystem::path OutputDir;    // the host's folder / "B"
};

enum class RunOutcome {
    Stopped,  // a check failed, the user cancelled or the archive was wrong: the window stays
    Closed,   // the conversion succeeded: the window must close
};

// The conversion, BuildCharacterFiles in the tool; tests pass fakes.
using Converter = std::function<int(const CharacterJob&)>;

// The run button's work. indexText and hostText are the two edit boxes'
// texts (UTF-8); the message boxes are modal, so hostText is still the box's
// text when the host is started. Errors raised by the conversion are not
// caught here: they end the run, leaving what was written.
RunOutcome RunBuildCommand(const std::string& indexText, const std::string& hostText, RunState& state,
                           RunDialogs& dialogs, const Converter& convert, const NadHeaderBytes& nadHeader,
                           const NadTrailerBytes& nadTrailer, const std::filesystem::path& textureFolder);

}  // namespace pomvella
