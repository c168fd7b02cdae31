// The run button through the window: what it hands the run command, and how
// the window ends up.
#include <fstream>
#include <memory>
#include <optional>

#include <QTest>

#include "app/run/PathRules.h"
#include "app/window/TForm1.h"
#include "base/Error.h"
#include "tests/support/TempFolder.h"
#include "tests/window/ScriptedFormDialogs.h"
#include "tools/SampleArchive.h"

namespace pomvella {

using testing::ScriptedFormDialogs;

namespace {

void Touch(const std::filesystem::path& path)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << "x";
}

QString BoxText(const std::filesystem::path& path) { return QString::fromStdString(PathText(path)); }

}  // namespace

class RunTest : public QObject {
    Q_OBJECT

private:
    void MakeForm()
    {
        auto dialogs = std::make_unique<ScriptedFormDialogs>();
        dialogs_ = dialogs.get();
        jobs_.clear();
        form_ = std::make_unique<TForm1>(
            [this](const CharacterJob& job) {
                jobs_.push_back(job);
                if (realConversion_) {
                    CharacterJob local = job;
                    local.textureFolder = *folder_ / "textures";  // not the shared build folder
                    std::filesystem::create_directories(local.textureFolder);
                    return BuildCharacterFiles(local);
                }
                if (thrown_) {
                    const Error error = *thrown_;
                    thrown_.reset();
                    throw error;
                }
                return result_;
            },
            nullptr, std::move(dialogs));
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }

    // Fills both boxes with files that pass every check.
    void FillBoxes()
    {
        form_->edSrc.setText(BoxText(index_));
        form_->edDst.setText(BoxText(host_));
    }

    std::unique_ptr<testing::TempFolder> folder_;
    std::filesystem::path index_;
    std::filesystem::path host_;
    std::unique_ptr<TForm1> form_;
    ScriptedFormDialogs* dialogs_ = nullptr;
    std::vector<CharacterJob> jobs_;
    int result_ = kBuildDone;
    std::optional<Error> thrown_;
    bool realConversion_ = false;

private slots:
    void init()
    {
        folder_ = std::make_unique<testing::TempFolder>();
        index_ = *folder_ / "game" / "TH2Data.000";
        host_ = *folder_ / "Program FIles" / "Ruvelle" / "Ruvelle.exe";
        Touch(index_);
        Touch(index_.parent_path() / "TH2Data.001");
        Touch(host_);
        result_ = kBuildDone;
        thrown_.reset();
        realConversion_ = false;
        MakeForm();
    }
    void cleanup()
    {
        form_.reset();
        folder_.reset();
    }

    void TheRealConversionWritesTheCharacterSetBesideTheHost()
    {
        sample::WriteSampleArchive(sample::MakeSampleArchive(sample::SampleArchiveOptions{}), index_,
                                   index_.parent_path() / "TH2Data.001");
        realConversion_ = true;
        FillBoxes();
        form_->btExec.click();
        QVERIFY(dialogs_->errorBoxes.empty());
        QCOMPARE(dialogs_->run.shown, (std::vector<RunMessage>{RunMessage::Confirm, RunMessage::Success}));
        for (const char* name : {"000.NAD", "001.BMP", "002.BMP", "003.BMP"})
            QVERIFY2(std::filesystem::is_regular_file(host_.parent_path() / "B" / name), name);
        QCOMPARE(std::filesystem::file_size(host_.parent_path() / "B" / "000.NAD"), std::uintmax_t{38499});
        QVERIFY(!form_->isVisible());
    }

    void AFailedCheckKeepsTheWindow()
    {
        form_->btExec.click();  // edSrc is empty
        QCOMPARE(dialogs_->run.shown, std::vector<RunMessage>{RunMessage::IndexMissing});
        QVERIFY(form_->isVisible());
        QVERIFY(jobs_.empty());
    }

    void ASuccessfulRunStartsTheHostAndClosesTheWindow()
    {
        FillBoxes();
        form_->btExec.click();
        QCOMPARE(jobs_.size(), std::size_t{1});
        QCOMPARE(jobs_[0].indexPath, index_);
        QVERIFY(jobs_[0].nadHeader == kNadHeaderTemplate);
        QCOMPARE(form_->IndexPath, PathText(index_));
        QCOMPARE(form_->DataPath, index_.parent_path() / "TH2Data.001");
        QCOMPARE(form_->OutputDir, host_.parent_path() / "B");
        QCOMPARE(dialogs_->run.launched, std::vector<std::filesystem::path>{host_});
        QVERIFY(!form_->isVisible());
    }

    void CancelAtTheSuccessMessageStillCloses()
    {
        FillBoxes();
        dialogs_->run.answers[RunMessage::Success] = false;
        form_->btExec.click();
        QVERIFY(dialogs_->run.launched.empty());
        QVERIFY(!form_->isVisible());
    }

    void AWrongArchiveKeepsTheWindow()
    {
        FillBoxes();
        result_ = kBuildNotPackArchive;
        form_->btExec.click();
        QCOMPARE(dialogs_->run.shown, (std::vector<RunMessage>{RunMessage::Confirm, RunMessage::NotPackArchive}));
        QVERIFY(std::filesystem::is_directory(host_.parent_path() / "B"));
        QVERIFY(form_->isVisible());
    }

    void AConversionErrorIsShownAndTheButtonWorksAgain()
    {
        FillBoxes();
        thrown_ = FileOpenError(index_);
        form_->btExec.click();
        const std::string shown = "ﾌｧｲﾙ " + PathText(index_) + " は開けません.";
        QCOMPARE(dialogs_->errorBoxes, std::vector<std::string>{shown});
        QVERIFY(form_->isVisible());
        QCOMPARE(form_->OutputDir, host_.parent_path() / "B");  // written before the error

        form_->btExec.click();  // the next press runs afresh
        QCOMPARE(jobs_.size(), std::size_t{2});
        QCOMPARE(dialogs_->errorBoxes.size(), std::size_t{1});
        QVERIFY(!form_->isVisible());
    }
};

}  // namespace pomvella

QTEST_MAIN(pomvella::RunTest)
#include "RunTest.moc"
