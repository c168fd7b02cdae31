#pragma once

#include <filesystem>

#include "character/NadHeader.h"

namespace pomvella {

// Everything one conversion reads: the archive's two files, the character
// folder the outputs go to, the folder for the temporary texture files (the
// executable's folder in the tool itself) and the NAD templates.
struct CharacterJob {
    std::filesystem::path indexPath;
    std::filesystem::path dataPath;
    std::filesystem::path outputDir;
    std::filesystem::path textureFolder;
    NadHeaderBytes nadHeader = kNadHeaderTemplate;
    NadTrailerBytes nadTrailer = kNadTrailerTemplate;
};

enum BuildResult : int {
    kBuildDone = 0,
    kBuildNotPackArchive = 1,
};

// Walks the archive and writes the character set; returns kBuildDone or
// kBuildNotPackArchive and raises pomvella::Error on any other failure.
int BuildCharacterFiles(const CharacterJob& job);

}  // namespace pomvella
