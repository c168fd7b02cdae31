#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>

namespace pomvella::testing {

// Every entry below a folder: files with their bytes, folders without. Two
// equal snapshots mean nothing was added, removed, truncated or changed.
using FolderSnapshot = std::map<std::string, std::optional<std::string>>;

inline FolderSnapshot SnapshotFolder(const std::filesystem::path& folder)
{
    FolderSnapshot snapshot;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = std::filesystem::relative(entry.path(), folder).string();
        if (entry.is_directory()) {
            snapshot[name] = std::nullopt;
        } else {
            std::ifstream in(entry.path(), std::ios::binary);
            snapshot[name] = std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    return snapshot;
}

// Names only, for messages: a hidden ".<name>.<hex>.tmp" left behind shows here.
inline std::string NamesOf(const FolderSnapshot& snapshot)
{
    std::string names;
    for (const auto& [name, content] : snapshot)
        names += name + (content ? " (" + std::to_string(content->size()) + " bytes)" : "/") + "\n";
    return names;
}

// The names whose entries differ between two snapshots ("" when none), so a
// failure names the files without printing their bytes.
inline std::string Differences(const FolderSnapshot& expected, const FolderSnapshot& actual)
{
    std::string names;
    for (const auto& [name, content] : expected) {
        const auto other = actual.find(name);
        if (other == actual.end())
            names += "missing: " + name + "\n";
        else if (other->second != content)
            names += "changed: " + name + "\n";
    }
    for (const auto& [name, content] : actual)
        if (!expected.count(name))
            names += "added: " + name + "\n";
    return names;
}

}  // namespace pomvella::testing
