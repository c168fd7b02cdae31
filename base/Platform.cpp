#include "base/Platform.h"

#include <string>
#include <system_error>
#include <vector>

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#else
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

extern char** environ;
#if defined(__APPLE__)
#include <mach-o/dyld.h>
#endif
#endif

namespace pomvella::platform {

#if defined(_WIN32)

std::FILE* OpenForReading(const std::filesystem::path& path)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return nullptr;
    return _wfopen(path.c_str(), L"rb");
}

std::FILE* CreateNew(const std::filesystem::path& path) { return _wfopen(path.c_str(), L"wbx"); }

bool SeekTo(std::FILE* file, std::uint64_t position)
{
    return position <= static_cast<std::uint64_t>(INT64_MAX) &&
           _fseeki64(file, static_cast<__int64>(position), SEEK_SET) == 0;
}

std::optional<std::uint64_t> SizeOf(std::FILE* file)
{
    const __int64 size = _filelengthi64(_fileno(file));
    if (size < 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(size);
}

bool FlushToDisk(std::FILE* file) { return std::fflush(file) == 0 && _commit(_fileno(file)) == 0; }

bool StartDetached(const std::filesystem::path& program, const std::vector<std::filesystem::path>& arguments)
{
    // Each part is quoted so that a path with spaces stays one argument.
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    for (const auto& argument : arguments)
        commandLine += L" \"" + argument.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                        nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

std::filesystem::path ExecutablePath()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size())
            return std::filesystem::path(std::wstring(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
}

#else

std::FILE* OpenForReading(const std::filesystem::path& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return nullptr;
    struct stat status {};
    if (fstat(fileno(file), &status) != 0 || S_ISDIR(status.st_mode)) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

std::FILE* CreateNew(const std::filesystem::path& path) { return std::fopen(path.c_str(), "wbx"); }

bool SeekTo(std::FILE* file, std::uint64_t position)
{
    if (position > static_cast<std::uint64_t>(INT64_MAX))
        return false;
    return fseeko(file, static_cast<off_t>(position), SEEK_SET) == 0;
}

std::optional<std::uint64_t> SizeOf(std::FILE* file)
{
    struct stat status {};
    if (fstat(fileno(file), &status) != 0 || status.st_size < 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(status.st_size);
}

bool FlushToDisk(std::FILE* file) { return std::fflush(file) == 0 && fsync(fileno(file)) == 0; }

bool StartDetached(const std::filesystem::path& program, const std::vector<std::filesystem::path>& arguments)
{
    std::vector<std::string> parts{program.string()};
    for (const auto& argument : arguments)
        parts.push_back(argument.string());
    std::vector<char*> argv;
    for (auto& part : parts)
        argv.push_back(part.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    return posix_spawn(&child, parts.front().c_str(), nullptr, nullptr, argv.data(), environ) == 0;
}

std::filesystem::path ExecutablePath()
{
#if defined(__APPLE__)
    std::uint32_t size = 0;
    _NSGetExecutablePath(nullptr, &size);
    std::vector<char> buffer(size + 1, '\0');
    if (_NSGetExecutablePath(buffer.data(), &size) != 0)
        return {};
    std::error_code error;
    const auto resolved = std::filesystem::weakly_canonical(buffer.data(), error);
    return error ? std::filesystem::path(buffer.data()) : resolved;
#else
    std::error_code error;
    const auto resolved = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : resolved;
#endif
}

#endif

}  // namespace pomvella::platform
