#include "app/cli/Command.h"

namespace pomvella::cli {

// Each command lives in a file of its own; its entry point is declared here.
int RunBuildCommand(const Invocation& invocation);
int RunListCommand(const Invocation& invocation);
int RunExtractCommand(const Invocation& invocation);
int RunScaleCommand(const Invocation& invocation);
int RunQuantizeCommand(const Invocation& invocation);

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {
        {"build", "build INDEX HOST [--yes] [--launch]",
         "the run button without a window: check, confirm, write the character set into B beside HOST",
         &RunBuildCommand},
        {"list", "list INDEX", "print the directory records of a pack index: i, name, offset, size",
         &RunListCommand},
        {"extract", "extract INDEX NAME [-o OUT]",
         "convert the texture entry NAME into an 8-bit BMP file (default: NAME.bmp here)", &RunExtractCommand},
        {"scale", "scale IN OUT WIDTH HEIGHT", "scale a BMP file by area averaging into a 24-bit BMP file",
         &RunScaleCommand},
        {"quantize", "quantize IN OUT [--colors N]",
         "reduce a 24-bit BMP file to an 8-bit BMP file of at most N colours (default 256)", &RunQuantizeCommand},
    };
    return commands;
}

}  // namespace pomvella::cli
