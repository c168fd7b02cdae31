#include <memory>

#include "archive/PackArchive.h"
#include "archive/TextureBmp.h"
#include "character/CharacterJob.h"
#include "character/NadFile.h"
#include "character/WantedEntry.h"
#include "imaging/BmpReader.h"
#include "imaging/BmpWriter.h"
#include "imaging/PictureOps.h"
#include "imaging/ShellThumbnail.h"

namespace pomvella {
namespace {

constexpr std::uint32_t kThumbnailFlags = kThumbnailNoBorder | kThumbnailQuality;  // 768

// One wanted entry's turn: texture file, crop, scale, fills, output. Every
// picture lives only within this call.
void ProcessWantedEntry(const CharacterJob& job, InputFile& dataStream, const PackEntry& record,
                        const WantedEntry& wanted)
{
    const std::filesystem::path texturePath = WriteTextureBmp(dataStream, record, job.textureFolder);
    const Picture source = ConvertTo24(LoadBmpFile(texturePath));

    {
        Picture crop(PixelFormat::Bgr24, wanted.cropWidth, wanted.cropHeight);
        CopyRect(source, wanted.sourceRect, crop, Rect{0, 0, wanted.cropWidth, wanted.cropHeight});
        SaveBmp24(crop, texturePath);
    }

    // A freshly sized picture is white: if scaling fails, the white picture
    // goes on through the fills and is saved all the same.
    Picture scaled(PixelFormat::Bgr24, wanted.scaledWidth, wanted.scaledHeight);
    FillRect(scaled, Rect{0, 0, wanted.scaledWidth, wanted.scaledHeight}, kWhite);
    GetShellThumbnail(texturePath, scaled, kThumbnailFlags);

    for (const Point& seed : wanted.seeds)
        FloodFill(scaled, seed.x, seed.y, kLime);
    if (wanted.extraFill)
        FillRect(scaled, *wanted.extraFill, kLime);

    const std::filesystem::path outputPath = job.outputDir / std::string(wanted.outputName);
    if (wanted.isNadPicture)
        WriteNadFile(scaled, job.nadHeader, job.nadTrailer, outputPath);
    else
        SaveBmp24(scaled, outputPath);
}

}  // namespace

int BuildCharacterFiles(const CharacterJob& job)
{
    const std::unique_ptr<PackArchive> archive = PackArchive::OpenPackArchive(job.indexPath, job.dataPath);
    if (!archive)
        return kBuildNotPackArchive;

    // Every record is read, also after all four names have been seen: a later
    // record of the same name replaces the earlier one's output.
    const int entryCount = archive->EntryCount();
    for (int i = 1; i <= entryCount; ++i) {
        const PackEntry record = archive->ReadPackEntry(i);
        if (const WantedEntry* wanted = FindWantedEntry(record.name))
            ProcessWantedEntry(job, archive->DataStream(), record, *wanted);
    }
    archive->ClosePackArchive();
    return kBuildDone;
}

}  // namespace pomvella
