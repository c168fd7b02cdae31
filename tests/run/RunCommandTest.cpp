#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/run/PathRules.h"
#include "app/run/RunCommand.h"
#include "base/Error.h"
#include "tests/support/ScriptedRunDialogs.h"
#include "tests/support/TempFolder.h"

namespace pomvella {
namespace {

using testing::ScriptedRunDialogs;

void WriteText(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string Text(const std::filesystem::path& path) { return PathText(path); }

// A game folder with an index and its data file, and a host folder whose
// name has a space in it, as the usual install folder has.
class RunCommandTest : public ::testing::Test {
protected:
    RunCommandTest()
    {
        WriteText(index_, "PACK");
        WriteText(data_, "data");
        WriteText(host_, "host");
    }

    // Runs the command on the two texts with a converter that records its job
    // and returns result (or throws thrown, when set).
    RunOutcome Run(const std::string& indexText, const std::string& hostText)
    {
        const Converter convert = [this](const CharacterJob& job) {
            jobs_.push_back(job);
            if (onConvert_)
                onConvert_(job);
            if (thrown_)
                throw *thrown_;
            return result_;
        };
        return RunBuildCommand(indexText, hostText, state_, dialogs_, convert, header_, trailer_, textureFolder_);
    }
    RunOutcome Run() { return Run(Text(index_), Text(host_)); }

    testing::TempFolder folder_;
    std::filesystem::path index_ = folder_ / "game" / "TH2Data.000";
    std::filesystem::path data_ = folder_ / "game" / "TH2Data.001";
    std::filesystem::path host_ = folder_ / "Program FIles" / "Ruvelle" / "Ruvelle.exe";
    std::filesystem::path characterFolder_ = folder_ / "Program FIles" / "Ruvelle" / "B";
    std::filesystem::path textureFolder_ = folder_ / "bin";

    NadHeaderBytes header_ = kNadHeaderTemplate;
    NadTrailerBytes trailer_{};
    RunState state_;
    ScriptedRunDialogs dialogs_;
    std::vector<CharacterJob> jobs_;
    int result_ = kBuildDone;
    std::optional<Error> thrown_;
    std::function<void(const CharacterJob&)> onConvert_;
};

TEST_F(RunCommandTest, AFailedCheckShowsItsMessageAndLeavesNothingBehind)
{
    std::filesystem::create_directories(folder_ / "a folder");
    WriteText(folder_ / "alone" / "TH2Data.000", "PACK");
    struct Case {
        const char* what;
        std::string index;
        std::string host;
        RunMessage message;
    };
    const Case cases[] = {
        {"empty index box", "", Text(host_), RunMessage::IndexMissing},
        {"missing index", Text(folder_ / "game" / "TH2Data.999"), Text(host_), RunMessage::IndexMissing},
        {"a folder as index", Text(folder_ / "a folder"), Text(host_), RunMessage::IndexMissing},
        {"index with trailing space", Text(index_) + " ", Text(host_), RunMessage::IndexMissing},
        {"no .001 beside the index", Text(folder_ / "alone" / "TH2Data.000"), Text(host_), RunMessage::DataMissing},
        {"empty host box", Text(index_), "", RunMessage::HostMissing},
        {"a folder as host", Text(index_), Text(folder_ / "a folder"), RunMessage::HostMissing},
        {"the default Windows host text", Text(index_), "C:\\Program FIles\\Ruvelle\\Ruvelle.exe",
         RunMessage::HostMissing},
        {"only the first failure", "", "", RunMessage::IndexMissing},
    };
    for (const Case& c : cases) {
        dialogs_.shown.clear();
        EXPECT_EQ(Run(c.index, c.host), RunOutcome::Stopped) << c.what;
        EXPECT_EQ(dialogs_.shown, std::vector<RunMessage>{c.message}) << c.what;
        EXPECT_EQ(state_.IndexPath, c.index) << c.what;  // taken as typed, untrimmed
        EXPECT_FALSE(std::filesystem::exists(characterFolder_)) << c.what;
        EXPECT_FALSE(std::filesystem::exists(folder_ / "B")) << c.what;
        EXPECT_FALSE(std::filesystem::exists(folder_ / "a folder" / "B")) << c.what;
    }
    EXPECT_TRUE(jobs_.empty());
    EXPECT_TRUE(dialogs_.launched.empty());
}

TEST_F(RunCommandTest, TheFieldsAreWrittenAsTheChecksPass)
{
    state_.DataPath = "kept";
    state_.OutputDir = "kept";
    Run("", Text(host_));
    EXPECT_EQ(state_.DataPath, "kept");  // the previous run's values stay

    Run(Text(index_), "");
    EXPECT_EQ(state_.DataPath, data_);
    EXPECT_EQ(state_.OutputDir, "kept");

    dialogs_.answers[RunMessage::Confirm] = false;
    Run();
    EXPECT_EQ(state_.OutputDir, characterFolder_);
}

TEST_F(RunCommandTest, CancelAtTheConfirmationCreatesNothing)
{
    dialogs_.answers[RunMessage::Confirm] = false;
    EXPECT_EQ(Run(), RunOutcome::Stopped);
    EXPECT_EQ(dialogs_.shown, std::vector<RunMessage>{RunMessage::Confirm});
    EXPECT_FALSE(std::filesystem::exists(characterFolder_));
    EXPECT_TRUE(jobs_.empty());
}

TEST_F(RunCommandTest, TheCharacterFolderIsMadeOnlyAfterTheConfirmation)
{
    std::vector<bool> existedWhileAsked;
    dialogs_.onShow = [&](RunMessage) { existedWhileAsked.push_back(std::filesystem::exists(characterFolder_)); };
    Run();
    EXPECT_EQ(existedWhileAsked, (std::vector<bool>{false, true}));  // confirmation, success
}

TEST_F(RunCommandTest, AWrongArchiveLeavesTheNewFolderAndKeepsTheWindow)
{
    onConvert_ = [&](const CharacterJob& job) { EXPECT_TRUE(std::filesystem::is_directory(job.outputDir)); };
    result_ = kBuildNotPackArchive;
    EXPECT_EQ(Run(), RunOutcome::Stopped);
    EXPECT_EQ(dialogs_.shown, (std::vector<RunMessage>{RunMessage::Confirm, RunMessage::NotPackArchive}));
    EXPECT_TRUE(std::filesystem::is_directory(characterFolder_));
    EXPECT_TRUE(std::filesystem::is_empty(characterFolder_));
    EXPECT_TRUE(dialogs_.launched.empty());
}

TEST_F(RunCommandTest, TheConversionGetsTheDerivedPathsAndTemplates)
{
    header_[0] = 'X';  // the window's own copy, whatever it holds
    trailer_[11] = 7;
    Run();
    ASSERT_EQ(jobs_.size(), 1u);
    const CharacterJob& job = jobs_.front();
    EXPECT_EQ(job.indexPath, index_);
    EXPECT_EQ(job.dataPath, data_);
    EXPECT_EQ(job.outputDir, characterFolder_);
    EXPECT_EQ(job.textureFolder, textureFolder_);
    EXPECT_EQ(job.nadHeader, header_);
    EXPECT_EQ(job.nadTrailer, trailer_);
}

TEST_F(RunCommandTest, SuccessOffersTheHostAndClosesEitherWay)
{
    for (const bool start : {true, false}) {
        dialogs_.shown.clear();
        dialogs_.launched.clear();
        dialogs_.answers[RunMessage::Success] = start;
        EXPECT_EQ(Run(), RunOutcome::Closed) << start;
        EXPECT_EQ(dialogs_.shown, (std::vector<RunMessage>{RunMessage::Confirm, RunMessage::Success})) << start;
        if (start) {
            // The whole path, spaces and all, is the one program started.
            EXPECT_EQ(dialogs_.launched, std::vector<std::filesystem::path>{host_});
        } else {
            EXPECT_TRUE(dialogs_.launched.empty());
        }
    }
}

TEST_F(RunCommandTest, AConversionErrorEndsTheRunAndKeepsWhatWasWritten)
{
    thrown_ = FileOpenError(data_);
    onConvert_ = [&](const CharacterJob& job) { WriteText(job.outputDir / "001.BMP", "written"); };
    try {
        Run();
        ADD_FAILURE() << "the error was swallowed";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), FileOpenError(data_).what());
    }
    EXPECT_EQ(dialogs_.shown, std::vector<RunMessage>{RunMessage::Confirm});
    EXPECT_EQ(ReadText(characterFolder_ / "001.BMP"), "written");
    EXPECT_TRUE(dialogs_.launched.empty());
}

TEST_F(RunCommandTest, AnExistingCharacterFolderIsReused)
{
    WriteText(characterFolder_ / "001.BMP", "old picture");
    WriteText(characterFolder_ / "mine.txt", "the user's");
    onConvert_ = [&](const CharacterJob& job) { WriteText(job.outputDir / "001.BMP", "new picture"); };
    EXPECT_EQ(Run(), RunOutcome::Closed);
    EXPECT_EQ(ReadText(characterFolder_ / "001.BMP"), "new picture");
    EXPECT_EQ(ReadText(characterFolder_ / "mine.txt"), "the user's");
}

TEST_F(RunCommandTest, AFolderThatCannotBeMadeIsLeftToTheConversionToReport)
{
    WriteText(characterFolder_, "a file where the folder goes");
    thrown_ = FileCreateError(characterFolder_ / "001.BMP");
    EXPECT_THROW(Run(), Error);
    EXPECT_EQ(jobs_.size(), 1u);
    EXPECT_EQ(dialogs_.shown, std::vector<RunMessage>{RunMessage::Confirm});
}

TEST_F(RunCommandTest, FolderNamesEndingInSoOrHyoKeepTheirLastCharacter)
{
    // ソ and 表 end in the byte 0x5C in Shift-JIS; here they must stay whole.
    const std::filesystem::path game = folder_ / PathFromText("表");
    const std::filesystem::path hostFolder = folder_ / PathFromText("ソ");
    WriteText(game / "TH2Data.000", "PACK");
    WriteText(game / "TH2Data.001", "data");
    WriteText(hostFolder / "Ruvelle.exe", "host");
    EXPECT_EQ(Run(Text(game / "TH2Data.000"), Text(hostFolder / "Ruvelle.exe")), RunOutcome::Closed);
    EXPECT_EQ(state_.DataPath, game / "TH2Data.001");
    EXPECT_EQ(state_.OutputDir, hostFolder / "B");
    EXPECT_TRUE(std::filesystem::is_directory(hostFolder / "B"));
}

TEST(RunMessageTextTest, EveryMessageEndsInTwoIdeographicSpaces)
{
    const std::string ideographicSpaces = "\u3000\u3000";
    for (int number = 1; number <= 6; ++number) {
        const RunMessageText message = MessageTextOf(static_cast<RunMessage>(number));
        ASSERT_GE(message.text.size(), ideographicSpaces.size()) << number;
        EXPECT_EQ(message.text.substr(message.text.size() - ideographicSpaces.size()), ideographicSpaces) << number;
        const bool asks = number == 4 || number == 6;
        EXPECT_EQ(message.buttons, asks ? RunButtons::OkCancel : RunButtons::Ok) << number;
        EXPECT_EQ(message.icon, number == 6 ? RunIcon::Information : RunIcon::Warning) << number;
    }
    EXPECT_EQ(MessageTextOf(RunMessage::Confirm).text,
              std::string("実行しますか？") + "\r\n\r\n" + "（実行前にRuvelleが実行中なら終了してください）　　");
}

}  // namespace
}  // namespace pomvella
