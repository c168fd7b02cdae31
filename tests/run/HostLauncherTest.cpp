#include <gtest/gtest.h>

#include "app/run/HostLauncher.h"

namespace pomvella {
namespace {

TEST(HostLauncherTest, OnlyAWindowsProgramOnAnotherSystemGoesThroughWine)
{
    const std::filesystem::path wine = "/usr/bin/wine";
    struct Case {
        const char* host;
        bool systemIsWindows;
        bool wineFound;
        bool needsWine;
        bool throughWine;
    };
    const Case cases[] = {
        {"/opt/Program FIles/Ruvelle/Ruvelle.exe", false, true, true, true},
        {"/opt/Ruvelle/RUVELLE.EXE", false, true, true, true},
        {"/opt/Ruvelle/ruvelle.Exe", false, true, true, true},
        {"/opt/Ruvelle/Ruvelle.exe", false, false, true, false},  // no wine: started directly, may fail
        {"/opt/Ruvelle/Ruvelle.exe", true, true, false, false},  // Windows starts it itself
        {"/opt/Ruvelle/ruvelle", false, true, false, false},
        {"/opt/Ruvelle/exe", false, true, false, false},
        {"/opt/Ruvelle/Ruvelle.exe.sh", false, true, false, false},
    };
    for (const Case& c : cases) {
        const std::filesystem::path host = c.host;
        EXPECT_EQ(NeedsWine(host, c.systemIsWindows), c.needsWine) << c.host;
        const HostCommand command = HostLaunchCommand(host, c.systemIsWindows, c.wineFound ? wine : "");
        if (c.throughWine) {
            EXPECT_EQ(command.program, wine) << c.host;
            ASSERT_EQ(command.arguments.size(), 1u) << c.host;
            EXPECT_EQ(command.arguments[0], host) << c.host;
        } else {
            // The whole path is the program, spaces and all; the host gets no arguments.
            EXPECT_EQ(command.program, host) << c.host;
            EXPECT_TRUE(command.arguments.empty()) << c.host;
        }
    }
}

TEST(HostLauncherTest, ARelativeHostIsTheFileInTheCurrentFolderNotOneOnThePath)
{
    const HostCommand command = HostLaunchCommand("Ruvelle", false, "");
    EXPECT_EQ(command.program, std::filesystem::current_path() / "Ruvelle");
}

}  // namespace
}  // namespace pomvella
