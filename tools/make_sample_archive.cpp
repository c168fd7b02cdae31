// pomvella-sample-archive: writes a sample pack archive (index and data file)
// for tests, benchmarks and trying the tool without the game.
#include <cstdlib>
#include <exception>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "archive/DataPath.h"
#include "tools/SampleArchive.h"

namespace {

using pomvella::sample::SampleArchiveOptions;

constexpr const char* kHelp = R"(usage: pomvella-sample-archive --seed N --out DIR/TH2Data.000 [options]

Writes a sample pack archive: the index at --out and the data file beside it
with the extension ".001". The same options and seed give the same bytes.

options:
  --seed N          seed of the generator (required)
  --out PATH        index file to write (required)
  --records N       number of directory records, 0 to 65535 (default 64);
                    raised to hold the wanted records and the decoys
  --wanted LIST     comma-separated names of the texture records, in directory
                    order; a name given twice is a duplicate with another
                    picture; "none" for no texture (default: the four wanted
                    names C00200120.BM2,C00210020.BM2,C00210071.BM2,C00210130.BM2)
  --decoys          add records whose names nearly match a wanted name (lower
                    case, a trailing space, a 24-byte name without NUL)
  --nul-garbage     fill the name fields of the texture records after their
                    NUL with other bytes
  --count N         entry count written in the header (default: the records);
                    larger than the records makes an index that ends early
  --magic XXXX      the first four bytes of the index (default PACK)
  --padding BYTES   zero bytes before the first entry in the data file,
                    written as a hole where the file system allows
  --width W         width of every texture, 0 to 65535 (default: chosen
                    from the seed, 412 to 640 and a multiple of 4)
  --height H        height of every texture, 0 to 65535 (default: chosen
                    from the seed, 384 to 512)
  --help            show this text
)";

bool ParseNumber(const std::string& text, unsigned long long& value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    try {
        value = std::stoull(text);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

std::vector<std::string> SplitNames(const std::string& list)
{
    std::vector<std::string> names;
    if (list == "none")
        return names;
    std::stringstream stream(list);
    std::string name;
    while (std::getline(stream, name, ','))
        names.push_back(name);
    return names;
}

int Fail(const std::string& message)
{
    std::cerr << "pomvella-sample-archive: " << message << "\n(see --help)\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    SampleArchiveOptions options;
    std::string out;
    bool seedGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--help" || option == "-h") {
            std::cout << kHelp;
            return 0;
        }
        if (option == "--decoys") {
            options.decoys = true;
            continue;
        }
        if (option == "--nul-garbage") {
            options.nulGarbage = true;
            continue;
        }
        if (i + 1 == arguments.size())
            return Fail("missing value or unknown option " + option);
        const std::string& value = arguments[++i];
        unsigned long long number = 0;
        const bool numeric = ParseNumber(value, number);
        if (option == "--out") {
            out = value;
        } else if (option == "--wanted") {
            options.wanted = SplitNames(value);
        } else if (option == "--magic") {
            if (value.size() != 4)
                return Fail("--magic takes four characters");
            std::copy(value.begin(), value.end(), options.magic.begin());
        } else if (!numeric) {
            return Fail("unknown option or not a number: " + option + " " + value);
        } else if (option == "--seed" && number <= 0xFFFFFFFFull) {
            options.seed = static_cast<std::uint32_t>(number);
            seedGiven = true;
        } else if (option == "--records" && number <= 0xFFFF) {
            options.recordCount = static_cast<int>(number);
        } else if (option == "--count" && number <= 0xFFFF) {
            options.headerCount = static_cast<std::uint32_t>(number);
        } else if (option == "--padding") {
            options.padding = number;
        } else if (option == "--width" && number <= 0xFFFF) {
            options.textureWidth = static_cast<int>(number);
        } else if (option == "--height" && number <= 0xFFFF) {
            options.textureHeight = static_cast<int>(number);
        } else {
            return Fail("unknown option or value out of range: " + option + " " + value);
        }
    }
    if (!seedGiven || out.empty())
        return Fail("--seed and --out are required");

    try {
        const std::filesystem::path indexPath(out);
        const auto archive = pomvella::sample::MakeSampleArchive(options);
        pomvella::sample::WriteSampleArchive(archive, indexPath, pomvella::DataPathForIndex(indexPath));
    } catch (const std::exception& error) {
        std::cerr << "pomvella-sample-archive: " << error.what() << '\n';
        return 3;
    }
    return 0;
}
