#include <gtest/gtest.h>

#include <fstream>

#include "app/run/PathRules.h"
#include "archive/DataPath.h"
#include "base/Error.h"
#include "tests/support/TempFolder.h"

namespace pomvella {
namespace {

std::filesystem::path P(const char* text) { return PathFromText(text); }

TEST(PathRulesTest, DataPathReplacesFromTheLastDotOfTheLastComponent)
{
    struct Case {
        const char* path;
        const char* changed;
    };
    const Case cases[] = {
        {"/game/TH2Data.000", "/game/TH2Data.001"},
        {"/game/TH2Data", "/game/TH2Data.001"},         // no extension: appended
        {"/game/a.b.000", "/game/a.b.001"},             // only the last "." counts
        {"/game.d/TH2Data", "/game.d/TH2Data.001"},     // a "." in a folder is not an extension
        {"/game/TH2Data.", "/game/TH2Data.001"},
        {"/game/.000", "/game/.001"},                   // a leading "." starts the extension too
        {"/game/", "/game/.001"},                       // an empty last component
        {"TH2Data.000", "TH2Data.001"},
        {"/ゲーム.d/表ソ", "/ゲーム.d/表ソ.001"},
        {"/ゲーム/データ.000", "/ゲーム/データ.001"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DataPathForIndex(P(c.path)), P(c.changed)) << c.path;
}

TEST(PathRulesTest, FolderOfDropsTheLastComponentAndItsSeparator)
{
    struct Case {
        const char* path;
        const char* folder;
    };
    const Case cases[] = {
        {"/opt/Ruvelle/Ruvelle.exe", "/opt/Ruvelle"},
        {"/opt/Program FIles/Ruvelle/Ruvelle.exe", "/opt/Program FIles/Ruvelle"},
        {"/Ruvelle.exe", "/"},         // a root keeps its separator
        {"Ruvelle.exe", ""},           // the current folder
        {"/opt/ソ/Ruvelle.exe", "/opt/ソ"},
        {"/opt/表/Ruvelle.exe", "/opt/表"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FolderOf(P(c.path)), P(c.folder)) << c.path;
}

TEST(PathRulesTest, PathFromTextKeepsEveryCharacter)
{
    // ソ and 表 are the characters whose second Shift-JIS byte is a backslash;
    // in UTF-8 none of their bytes is a separator.
    const std::filesystem::path path = P("/opt/ソ表/Ruvelle.exe");
    EXPECT_EQ(path.filename(), P("Ruvelle.exe"));
    EXPECT_EQ(path.parent_path().filename(), P("ソ表"));
    EXPECT_EQ(PathText(path), "/opt/ソ表/Ruvelle.exe");
}

TEST(PathRulesTest, FileExistsOnlyForRegularFiles)
{
    testing::TempFolder folder;
    std::ofstream(folder / "file.bin") << "x";
    std::filesystem::create_directory(folder / "folder");
    EXPECT_TRUE(FileExists(folder / "file.bin"));
    EXPECT_FALSE(FileExists(folder / "folder"));
    EXPECT_FALSE(FileExists(folder / "missing"));
    EXPECT_FALSE(FileExists({}));

    std::error_code noLinks;
    std::filesystem::create_symlink(folder / "file.bin", folder / "link", noLinks);
    std::filesystem::create_symlink(folder / "gone", folder / "broken", noLinks);
    if (noLinks)
        GTEST_SKIP() << "symbolic links cannot be made here";
    EXPECT_TRUE(FileExists(folder / "link"));
    EXPECT_FALSE(FileExists(folder / "broken"));
}

}  // namespace
}  // namespace pomvella
