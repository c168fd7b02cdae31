#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "base/InputFile.h"
#include "fuzz/harness/Harness.h"

namespace pomvella::fuzz {
namespace {

struct HarnessCase {
    const char* name;  // the folder name under fuzz/corpus and fuzz/regressions
    void (*run)(ByteSpan);
};

std::vector<std::filesystem::path> InputsOf(const std::string& harness)
{
    std::vector<std::filesystem::path> inputs;
    for (const char* kind : {"corpus", "regressions"}) {
        const std::filesystem::path folder = std::filesystem::path(POMVELLA_FUZZ_DIR) / kind / harness;
        if (!std::filesystem::is_directory(folder))
            continue;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.is_regular_file())
                inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

class FuzzReplayTest : public ::testing::TestWithParam<HarnessCase> {};

// A broken property or a sanitizer report aborts the program; the input's
// name is printed first so the output says which one it was.
TEST_P(FuzzReplayTest, CommittedInputsPass)
{
    const std::vector<std::filesystem::path> inputs = InputsOf(GetParam().name);
    ASSERT_FALSE(inputs.empty()) << "no seed corpus for " << GetParam().name;
    for (const std::filesystem::path& input : inputs) {
        std::cerr << "replaying " << input.filename().string() << std::endl;
        GetParam().run(ReadWholeFile(input));
    }
}

INSTANTIATE_TEST_SUITE_P(Harnesses, FuzzReplayTest,
                         ::testing::Values(HarnessCase{"archive", &FuzzArchive},
                                           HarnessCase{"bmp_reader", &FuzzBmpReader},
                                           HarnessCase{"scaler", &FuzzScaler},
                                           HarnessCase{"octree", &FuzzOctree},
                                           HarnessCase{"build", &FuzzBuild}),
                         [](const ::testing::TestParamInfo<HarnessCase>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace pomvella::fuzz
