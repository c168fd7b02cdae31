#pragma once

#include <sys/mount.h>
#include <sys/statvfs.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

namespace pomvella::testing {

// A small tmpfs mounted on an empty folder for the length of a test, so that
// a file system can be filled without touching anyone else's. Mounting needs
// root (CAP_SYS_ADMIN); Failure() says why it could not be done.
class TmpfsMount {
public:
    TmpfsMount(const std::filesystem::path& folder, const std::string& size) : folder_(folder)
    {
        std::filesystem::create_directories(folder);
        const std::string options = "size=" + size + ",mode=0755";
        if (mount("tmpfs", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0)
            mounted_ = true;
        else
            failure_ = std::string("mount -t tmpfs failed: ") + std::strerror(errno);
    }
    ~TmpfsMount()
    {
        if (mounted_)
            umount2(folder_.c_str(), MNT_DETACH);
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool Mounted() const { return mounted_; }
    const std::string& Failure() const { return failure_; }

    std::uint64_t FreeBytes() const
    {
        struct statvfs info {};
        statvfs(folder_.c_str(), &info);
        return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
    }

private:
    std::filesystem::path folder_;
    bool mounted_ = false;
    std::string failure_;
};

}  // namespace pomvella::testing
