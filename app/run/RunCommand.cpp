#include "app/run/RunCommand.h"

#include <system_error>

#include "app/run/PathRules.h"
#include "archive/DataPath.h"

namespace pomvella {

RunMessageText MessageTextOf(RunMessage message)
{
    // Every text ends in two ideographic spaces (U+3000).
    switch (message) {
    case RunMessage::IndexMissing:
        return {"指定されたToHeart2インデクスが見つかりません　　", RunButtons::Ok, RunIcon::Warning};
    case RunMessage::DataMissing:
        return {"関連するToHeart2データが見つかりません　　", RunButtons::Ok, RunIcon::Warning};
    case RunMessage::HostMissing:
        return {"Ruvelle実行ファイルが見つかりません　　", RunButtons::Ok, RunIcon::Warning};
    case RunMessage::Confirm:
        return {"実行しますか？\r\n\r\n（実行前にRuvelleが実行中なら終了してください）　　", RunButtons::OkCancel,
                RunIcon::Warning};
    case RunMessage::NotPackArchive:
        return {"ToHeart2ファイルではありませんでした　　", RunButtons::Ok, RunIcon::Warning};
    case RunMessage::Success:
        return {"成功した模様です。Ruvelleを起動します　　", RunButtons::OkCancel, RunIcon::Information};
    }
    return {"", RunButtons::Ok, RunIcon::Warning};
}

RunOutcome RunBuildCommand(const std::string& indexText, const std::string& hostText, RunState& state,
                           RunDialogs& dialogs, const Converter& convert, const NadHeaderBytes& nadHeader,
                           const NadTrailerBytes& nadTrailer, const std::filesystem::path& textureFolder)
{
    state.IndexPath = indexText;
    const std::filesystem::path indexPath = PathFromText(state.IndexPath);
    if (!FileExists(indexPath)) {
        dialogs.ShowMessage(RunMessage::IndexMissing);
        return RunOutcome::Stopped;
    }
    state.DataPath = DataPathForIndex(indexPath);
    if (!FileExists(state.DataPath)) {
        dialogs.ShowMessage(RunMessage::DataMissing);
        return RunOutcome::Stopped;
    }
    const std::filesystem::path hostPath = PathFromText(hostText);
    if (!FileExists(hostPath)) {
        dialogs.ShowMessage(RunMessage::HostMissing);
        return RunOutcome::Stopped;
    }
    state.OutputDir = FolderOf(hostPath) / "B";
    if (!dialogs.ShowMessage(RunMessage::Confirm))
        return RunOutcome::Stopped;

    // A folder that cannot be made is not reported here: the conversion's
    // first write into it fails with the file's own error.
    std::error_code ignored;
    std::filesystem::create_directories(state.OutputDir, ignored);

    CharacterJob job;
    job.indexPath = indexPath;
    job.dataPath = state.DataPath;
    job.outputDir = state.OutputDir;
    job.textureFolder = textureFolder;
    job.nadHeader = nadHeader;
    job.nadTrailer = nadTrailer;
    if (convert(job) != kBuildDone) {
        dialogs.ShowMessage(RunMessage::NotPackArchive);
        return RunOutcome::Stopped;
    }
    if (dialogs.ShowMessage(RunMessage::Success))
        dialogs.LaunchHost(hostPath);
    return RunOutcome::Closed;
}

}  // namespace pomvella
