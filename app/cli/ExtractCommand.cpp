#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/cli/Command.h"
#include "app/cli/PackArchiveText.h"
#include "archive/DataPath.h"
#include "archive/PackArchive.h"
#include "archive/TextureBmp.h"
#include "base/AtomicFile.h"

namespace pomvella::cli {
namespace {

constexpr const char* kExtractUsage = "extract INDEX NAME [-o OUT]";

struct ExtractArguments {
    std::string indexPath;
    std::string name;
    std::optional<std::string> outPath;
};

std::optional<ExtractArguments> ParseExtractArguments(const std::vector<std::string>& arguments)
{
    std::vector<std::string> positional;
    std::optional<std::string> outPath;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "-o") {
            if (i + 1 == arguments.size() || outPath)
                return std::nullopt;
            outPath = arguments[++i];
        } else {
            positional.push_back(arguments[i]);
        }
    }
    if (positional.size() != 2)
        return std::nullopt;
    return ExtractArguments{positional[0], positional[1], outPath};
}

}  // namespace

// extract INDEX NAME [-o OUT]: converts the entry NAME the way the temporary
// texture file is made. Every record up to the count is read and the last
// record carrying NAME wins, as in the conversion, where later records
// replace the files of earlier ones.
int RunExtractCommand(const Invocation& invocation)
{
    const std::optional<ExtractArguments> arguments = ParseExtractArguments(invocation.arguments);
    if (!arguments)
        return UsageError(invocation, kExtractUsage);

    const std::filesystem::path indexPath(arguments->indexPath);
    const std::unique_ptr<PackArchive> archive =
        PackArchive::OpenPackArchive(indexPath, DataPathForIndex(indexPath));
    if (!archive) {
        invocation.err << kNotToHeart2FileMessage << '\n';
        return kNotPackArchive;
    }

    std::optional<PackEntry> found;
    for (int i = 1; i <= archive->EntryCount(); ++i) {
        PackEntry entry = archive->ReadPackEntry(i);
        if (NameMatches(entry.name, arguments->name))
            found = std::move(entry);
    }
    if (!found) {
        invocation.err << "pomvella-cli: no entry named " << PrintableEntryName(arguments->name) << '\n';
        return kUsage;
    }

    const Bytes bmp = ReadTextureBmp(archive->DataStream(), *found);
    archive->ClosePackArchive();
    const std::filesystem::path outPath(arguments->outPath.value_or(arguments->name + ".bmp"));
    ReplaceFileAtomically(outPath, bmp);
    invocation.out << PathText(outPath) << '\n';
    return kDone;
}

}  // namespace pomvella::cli
