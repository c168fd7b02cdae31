#include "ChildProcess.h"

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tests/support/TempFolder.h"

namespace pomvella::testing {
namespace {

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs between fork and exec: only async-signal-safe calls, and any failure
// ends the child with status 127 so the test sees it.
[[noreturn]] void StartChild(const std::vector<char*>& argv, const ChildSetup& setup, int outFd, int errFd)
{
    if (dup2(outFd, STDOUT_FILENO) < 0 || dup2(errFd, STDERR_FILENO) < 0)
        _exit(127);
    const int nullFd = open("/dev/null", O_RDONLY);
    if (nullFd < 0 || dup2(nullFd, STDIN_FILENO) < 0)
        _exit(127);
    if (chdir(setup.workingFolder.c_str()) != 0)
        _exit(127);
    if (setup.fileSizeLimit) {
        signal(SIGXFSZ, SIG_IGN);  // an ignored signal stays ignored across exec
        const rlimit limit{*setup.fileSizeLimit, *setup.fileSizeLimit};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            _exit(127);
    }
    if (setup.unprivileged && geteuid() == 0) {
        if (setgroups(0, nullptr) != 0 || setresgid(kNobody, kNobody, kNobody) != 0 ||
            setresuid(kNobody, kNobody, kNobody) != 0)
            _exit(127);
    }
    execv(argv[0], argv.data());
    _exit(127);
}

}  // namespace

ChildResult RunChild(const std::vector<std::string>& arguments, const ChildSetup& setup)
{
    // Output goes to files, not pipes: nothing can block while the child runs.
    const TempFolder capture;
    const std::filesystem::path outPath = capture / "out";
    const std::filesystem::path errPath = capture / "err";
    const int outFd = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const int errFd = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (outFd < 0 || errFd < 0)
        throw std::runtime_error("cannot create the capture files");

    std::vector<std::string> copies = arguments;
    std::vector<char*> argv;
    for (std::string& argument : copies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0)
        StartChild(argv, setup, outFd, errFd);
    close(outFd);
    close(errFd);
    if (pid < 0)
        throw std::runtime_error("fork failed");
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            throw std::runtime_error("waitpid failed");
    }
    ChildResult result;
    if (WIFEXITED(status))
        result.exitStatus = WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    result.out = ReadText(outPath);
    result.err = ReadText(errPath);
    return result;
}

}  // namespace pomvella::testing
