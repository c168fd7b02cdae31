#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace pomvella::testing {

// A fresh folder under the system's temporary folder, removed with its content.
class TempFolder {
public:
    TempFolder()
    {
        std::random_device entropy;
        path_ = std::filesystem::temp_directory_path() / ("pomvella-test-" + std::to_string(entropy()) + "-" +
                                                          std::to_string(entropy()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

}  // namespace pomvella::testing
