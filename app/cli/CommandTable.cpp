#include "app/cli/Command.h"

namespace pomvella::cli {

// Each command lives in a file of its own; its entry point is declared here.
int RunScaleCommand(const Invocation& invocation);
int RunQuantizeCommand(const Invocation& invocation);

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {
        {"scale", "scale IN OUT WIDTH HEIGHT", "scale a BMP file by area averaging into a 24-bit BMP file", &RunScaleCommand},
        {"quantize", "quantize IN OUT [--colors N]", "reduce a 24-bit BMP file to an 8-bit BMP file of at most N colours (default 256)", &RunQuantizeCommand},
    };
    return commands;
}

}  // namespace pomvella::cli
