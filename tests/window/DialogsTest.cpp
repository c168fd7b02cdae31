// The real dialogs: message boxes, the error box, the file dialog and the
// host's start, each answered the way a person would.
#include <fstream>
#include <functional>
#include <memory>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSysInfo>
#include <QTest>
#include <QTimer>

#include "app/window/MessageBoxDialogs.h"
#include "app/window/QtFileOpenDialog.h"
#include "app/window/TForm1.h"
#include "base/Error.h"
#include "tests/support/TempFolder.h"

namespace pomvella {

namespace {

// Calls answer with the modal dialog of type T as soon as one is open; the
// caller then opens it and blocks in its loop until answer closes it. A
// dialog that answer left open (a failed check returns early) is rejected,
// so a failure never hangs the test.
template <class T>
class WhenModal {
public:
    explicit WhenModal(std::function<void(T&)> answer) : answer_(std::move(answer))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (T* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
                timer_.stop();
                answered_ = true;
                const QPointer<T> open(dialog);
                answer_(*dialog);
                if (open && open->isVisible())
                    open->reject();
            }
        });
        timer_.start(10);
    }
    bool Answered() const { return answered_; }

private:
    std::function<void(T&)> answer_;
    QTimer timer_;
    bool answered_ = false;
};

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

void Touch(const std::filesystem::path& path)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << "x";
}

QString QtText(const std::filesystem::path& path) { return QString::fromStdString(PathText(path)); }

// The names that the file dialog lists in its current folder, once loaded.
QStringList ListedNames(QFileDialog& dialog)
{
    QListView* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
    if (list == nullptr || list->model() == nullptr)
        return {};
    QAbstractItemModel& model = *list->model();
    QStringList names;
    for (int row = 0; row < model.rowCount(list->rootIndex()); ++row)
        names.append(model.index(row, 0, list->rootIndex()).data().toString());
    names.sort();
    return names;
}

// Types the file's path into the name box and confirms, as a person would.
void Choose(QFileDialog& dialog, const std::filesystem::path& file)
{
    QLineEdit* nameBox = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(nameBox != nullptr);
    nameBox->setText(QtText(file));
    static_cast<QDialog&>(dialog).accept();  // public in QDialog
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void TheRunMessagesAreModalBoxesOfTheWindow_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("button");  // what the person presses
        QTest::addColumn<bool>("yes");
        for (int number = 1; number <= 6; ++number) {
            const QByteArray name = QByteArray::number(number);
            QTest::newRow(name + " OK") << number << "OK" << true;
            if (MessageTextOf(static_cast<RunMessage>(number)).buttons == RunButtons::OkCancel) {
                QTest::newRow(name + " Cancel") << number << "Cancel" << false;
                QTest::newRow(name + " Esc") << number << "Esc" << false;
                QTest::newRow(name + " Enter") << number << "Enter" << true;  // OK is the default
            }
        }
    }

    void TheRunMessagesAreModalBoxesOfTheWindow()
    {
        QFETCH(int, number);
        QFETCH(QString, button);
        QFETCH(bool, yes);
        const auto message = static_cast<RunMessage>(number);
        const RunMessageText expected = MessageTextOf(message);

        QWidget owner;
        owner.show();
        MessageBoxDialogs dialogs(&owner);
        WhenModal<QMessageBox> answer([&](QMessageBox& box) {
            QCOMPARE(box.parentWidget(), &owner);
            QCOMPARE(box.windowTitle(), QStringLiteral("Pomvella"));
            QCOMPARE(box.text(), FromUtf8(expected.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            QCOMPARE(box.icon(), expected.icon == RunIcon::Information ? QMessageBox::Information
                                                                        : QMessageBox::Warning);
            const QMessageBox::StandardButtons buttons =
                expected.buttons == RunButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok;
            QCOMPARE(box.standardButtons(), buttons);
            QCOMPARE(box.defaultButton(), box.button(QMessageBox::Ok));
            if (button == QLatin1String("OK"))
                box.button(QMessageBox::Ok)->click();
            else if (button == QLatin1String("Cancel"))
                box.button(QMessageBox::Cancel)->click();
            else if (button == QLatin1String("Esc"))
                QTest::keyClick(&box, Qt::Key_Escape);
            else
                QTest::keyClick(&box, Qt::Key_Return);
        });
        QCOMPARE(dialogs.ShowMessage(message), yes);
        QVERIFY(answer.Answered());
    }

    void TheErrorBoxCarriesTheApplicationTitle()
    {
        QWidget owner;
        MessageBoxDialogs dialogs(&owner);
        const std::string text = ErrorBoxText(ReadError().what());
        WhenModal<QMessageBox> answer([&](QMessageBox& box) {
            QCOMPARE(box.windowTitle(), QStringLiteral("Pomvella - キャラクタ画像作成ツール for Ruvelle"));
            QCOMPARE(box.text(), QStringLiteral("ｽﾄﾘｰﾑからの読み込みｴﾗｰ."));
            QCOMPARE(box.icon(), QMessageBox::Critical);
            QCOMPARE(box.standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
            box.button(QMessageBox::Ok)->click();
        });
        dialogs.ShowErrorBox(text);
        QVERIFY(answer.Answered());
    }

    void TheRunButtonAsksThroughARealMessageBox()
    {
        TForm1 form([](const CharacterJob&) { return 0; });
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        WhenModal<QMessageBox> answer([](QMessageBox& box) {
            QCOMPARE(box.text(), QStringLiteral("指定されたToHeart2インデクスが見つかりません\u3000\u3000"));
            box.button(QMessageBox::Ok)->click();
        });
        form.btExec.click();  // edSrc is empty
        QVERIFY(answer.Answered());
        QVERIFY(form.isVisible());
    }

    void TheFileDialogListsOnlyTheWantedNameInAnyCase()
    {
        testing::TempFolder folder;
        for (const char* name : {"Ruvelle.exe", "RUVELLE.EXE", "ruvelle.exe.bak", "Other.exe", "TH2Data.000"})
            Touch(folder / name);
        std::filesystem::create_directory(folder / "sub");
        const QString before = QDir::currentPath();

        QWidget owner;
        QtFileOpenDialog dialog(&owner);
        QStringList listed;
        WhenModal<QFileDialog> answer([&](QFileDialog& shown) {
            QCOMPARE(shown.nameFilters(), QStringList{QStringLiteral("RUVELLE.EXE (RUVELLE.EXE)")});
            QCOMPARE(shown.fileMode(), QFileDialog::ExistingFile);
            shown.setDirectory(QtText(folder.Path()));
            QVERIFY(QTest::qWaitFor([&] { return ListedNames(shown).size() >= 3; }, 5000));
            listed = ListedNames(shown);
            Choose(shown, folder / "Ruvelle.exe");
        });
        const std::optional<QString> chosen = dialog.Execute(QStringLiteral("RUVELLE.EXE"));
        QVERIFY(answer.Answered());
        QCOMPARE(listed, (QStringList{"RUVELLE.EXE", "Ruvelle.exe", "sub"}));
        QVERIFY(chosen.has_value());
        QCOMPARE(*chosen, QDir::toNativeSeparators(QtText(folder / "Ruvelle.exe")));
        QCOMPARE(QDir::currentPath(), before);
    }

    void EachBrowseStartsEmptyWithItsOwnFilter()
    {
        testing::TempFolder folder;
        Touch(folder / "TH2Data.000");
        TForm1 form([](const CharacterJob&) { return 0; });
        form.show();
        struct Seen {
            QStringList filters;
            QString nameBox;
        };
        std::vector<Seen> seen;
        auto look = [&](QFileDialog& shown) {
            const QLineEdit* nameBox = shown.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            seen.push_back({shown.nameFilters(), nameBox != nullptr ? nameBox->text() : QStringLiteral("?")});
        };
        {
            WhenModal<QFileDialog> answer([&](QFileDialog& shown) {
                look(shown);
                Choose(shown, folder / "TH2Data.000");
            });
            form.btSrc.click();
        }
        QCOMPARE(form.edSrc.text(), QDir::toNativeSeparators(QtText(folder / "TH2Data.000")));
        for (QPushButton* button : {&form.btSrc, &form.btDst}) {
            WhenModal<QFileDialog> answer([&](QFileDialog& shown) {
                look(shown);
                shown.reject();
            });
            button->click();
        }
        QCOMPARE(form.edSrc.text(), QDir::toNativeSeparators(QtText(folder / "TH2Data.000")));
        QCOMPARE(form.edDst.text(), QStringLiteral("C:\\Program FIles\\Ruvelle\\Ruvelle.exe"));
        QCOMPARE(seen.size(), std::size_t{3});
        const QStringList index{QStringLiteral("TH2Data.000 (TH2Data.000)")};
        const QStringList host{QStringLiteral("RUVELLE.EXE (RUVELLE.EXE)")};
        QCOMPARE(seen[0].filters, index);
        QCOMPARE(seen[1].filters, index);
        QCOMPARE(seen[2].filters, host);
        for (const Seen& one : seen)
            QCOMPARE(one.nameBox, QString());
    }

    void TheHostIsStartedAsOneProgramDespiteSpaces()
    {
        if (QSysInfo::kernelType() == QStringLiteral("winnt"))
            QSKIP("starts a shell script");
        testing::TempFolder folder;
        const std::filesystem::path host = folder / "Program FIles" / "Ruvelle" / "run me";
        const std::filesystem::path marker = folder / "started";
        std::filesystem::create_directories(host.parent_path());
        std::ofstream(host) << "#!/bin/sh\necho \"$#\" > '" << PathText(marker) << "'\n";
        std::filesystem::permissions(host, std::filesystem::perms::owner_all);

        QWidget owner;
        MessageBoxDialogs(&owner).LaunchHost(host);
        QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::exists(marker) && std::filesystem::file_size(marker) > 0, 5000);
        std::ifstream started(marker);
        int argumentCount = -1;
        started >> argumentCount;
        QCOMPARE(argumentCount, 0);
    }
};

}  // namespace pomvella

QTEST_MAIN(pomvella::DialogsTest)
#include "DialogsTest.moc"
