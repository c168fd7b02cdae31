#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "app/cli/Command.h"
#include "app/cli/PackArchiveText.h"
#include "archive/PackArchive.h"
#include "base/InputFile.h"

namespace pomvella::cli {

// list INDEX: one line per directory record, in file order. Only the index
// file is read, one record at a time, so a count larger than the records
// prints what exists and then raises the read error at the first missing one.
int RunListCommand(const Invocation& invocation)
{
    if (invocation.arguments.size() != 1)
        return UsageError(invocation, "list INDEX");

    InputFile index{std::filesystem::path(invocation.arguments[0])};
    const std::optional<std::uint16_t> entryCount = ReadPackHeader(index);
    if (!entryCount) {
        invocation.err << kNotToHeart2FileMessage << '\n';
        return kNotPackArchive;
    }
    for (int i = 1; i <= *entryCount; ++i) {
        const PackEntry entry = ReadPackEntry(index, i);
        invocation.out << i << '\t' << PrintableEntryName(entry.name) << '\t' << entry.offset << '\t' << entry.size
                       << '\n';
    }
    return kDone;
}

}  // namespace pomvella::cli
