#include "fuzz/harness/Harness.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <system_error>

namespace pomvella::fuzz {
namespace {

class ProcessFolder {
public:
    ProcessFolder()
    {
        std::random_device entropy;
        path_ = std::filesystem::temp_directory_path() /
                ("pomvella-fuzz-" + std::to_string(entropy()) + "-" + std::to_string(entropy()));
        std::filesystem::create_directories(path_);
    }
    ~ProcessFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ProcessFolder(const ProcessFolder&) = delete;
    ProcessFolder& operator=(const ProcessFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace

const std::filesystem::path& ScratchFolder()
{
    static const ProcessFolder folder;
    return folder.Path();
}

void CheckFailed(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "fuzz check failed: %s at %s:%d\n", condition, file, line);
    std::fflush(stderr);
    std::abort();
}

}  // namespace pomvella::fuzz
