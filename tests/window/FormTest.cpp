// The window as it opens: layout, fonts, frame, keyboard, browse buttons.
#include <memory>

#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QMimeData>
#include <QScreen>
#include <QSet>
#include <QTest>
#include <QUrl>

#include "app/window/TForm1.h"
#include "tests/window/ScriptedFormDialogs.h"

namespace pomvella {

using testing::ScriptedFileOpenDialog;
using testing::ScriptedFormDialogs;

class FormTest : public QObject {
    Q_OBJECT

private:
    // A window whose conversion, dialogs and browse dialog are all scripted.
    void MakeForm()
    {
        auto openDialog = std::make_unique<ScriptedFileOpenDialog>();
        auto dialogs = std::make_unique<ScriptedFormDialogs>();
        openDialog_ = openDialog.get();
        dialogs_ = dialogs.get();
        conversions_ = 0;
        form_ = std::make_unique<TForm1>(
            [this](const CharacterJob&) {
                ++conversions_;
                return 0;
            },
            std::move(openDialog), std::move(dialogs));
    }

    QWidget* Control(const QString& name)
    {
        const std::pair<const char*, QWidget*> controls[] = {
            {"edSrc", &form_->edSrc}, {"Label1", &form_->Label1}, {"btSrc", &form_->btSrc},
            {"edDst", &form_->edDst}, {"Label2", &form_->Label2}, {"btDst", &form_->btDst},
            {"btExec", &form_->btExec},
        };
        for (const auto& [controlName, control] : controls) {
            if (name == QLatin1String(controlName))
                return control;
        }
        return nullptr;
    }

    std::unique_ptr<TForm1> form_;
    ScriptedFileOpenDialog* openDialog_ = nullptr;
    ScriptedFormDialogs* dialogs_ = nullptr;
    int conversions_ = 0;

private slots:
    void init() { MakeForm(); }
    void cleanup() { form_.reset(); }

    void TheWindowIsFixedAndCentred()
    {
        QCOMPARE(form_->windowTitle(), QStringLiteral("Pomvella - キャラクタ画像作成ツール for Ruvelle"));
        QCOMPARE(form_->size(), QSize(514, 168));
        QCOMPARE(form_->minimumSize(), QSize(514, 168));
        QCOMPARE(form_->maximumSize(), QSize(514, 168));
        const Qt::WindowFlags flags = form_->windowFlags();
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(flags & Qt::WindowMaximizeButtonHint);
        QVERIFY(flags & Qt::WindowSystemMenuHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);

        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        const QPoint screenCentre = form_->screen()->geometry().center();
        const QPoint windowCentre = form_->frameGeometry().center();
        QVERIFY2((screenCentre - windowCentre).manhattanLength() <= 40,
                 qPrintable(QStringLiteral("window centre %1,%2").arg(windowCentre.x()).arg(windowCentre.y())));
    }

    void EveryControlHasItsPlaceTextAndFont_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<bool>("bold");
        QTest::newRow("Label1") << "Label1" << QRect(8, 8, 369, 17) << "ToHeart2 データファイルのあるパス" << 17 << false;
        QTest::newRow("edSrc") << "edSrc" << QRect(8, 32, 457, 25) << "" << 17 << false;
        QTest::newRow("btSrc") << "btSrc" << QRect(472, 32, 33, 25) << "..." << 15 << false;
        QTest::newRow("Label2") << "Label2" << QRect(8, 64, 369, 17) << "Ruvelle実行ファイルのあるパス" << 17 << false;
        QTest::newRow("edDst") << "edDst" << QRect(8, 88, 457, 25) << "C:\\Program FIles\\Ruvelle\\Ruvelle.exe" << 17
                               << false;
        QTest::newRow("btDst") << "btDst" << QRect(472, 88, 33, 25) << "..." << 15 << false;
        QTest::newRow("btExec") << "btExec" << QRect(200, 128, 113, 33) << "実\u3000\u3000行" << 18 << true;
    }

    void EveryControlHasItsPlaceTextAndFont()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QFETCH(int, pixelSize);
        QFETCH(bool, bold);
        QWidget* control = Control(name);
        QVERIFY(control != nullptr);
        QCOMPARE(control->geometry(), geometry);
        QCOMPARE(control->property("text").toString(), text);
        QCOMPARE(control->font().pixelSize(), pixelSize);
        QCOMPARE(control->font().bold(), bold);
        QCOMPARE(control->font().families().value(0), QStringLiteral("MS PGothic"));
    }

    void AJapaneseGothicFaceIsUsedAtTheWindowsSize()
    {
        QCOMPARE(form_->font().pixelSize(), 15);
        const QStringList gothic{QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
                                 QStringLiteral("Noto Sans CJK JP")};
        QCOMPARE(form_->font().families(), gothic);
        // The face actually used is one of them (the set-up installs IPAPGothic).
        const QString used = QFontInfo(form_->Label1.font()).family();
        QVERIFY2(gothic.contains(used), qPrintable(used));
    }

    void TabOrderRunsThroughTheBoxesAndButtonsFromEdSrc()
    {
        form_->show();
        QApplication::setActiveWindow(form_.get());
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        QCOMPARE(QApplication::focusWidget(), &form_->edSrc);
        const QWidget* expected[] = {&form_->btSrc, &form_->edDst, &form_->btDst, &form_->btExec, &form_->edSrc};
        for (const QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void EnterAndEscDoNothing()
    {
        for (QPushButton* button : {&form_->btSrc, &form_->btDst, &form_->btExec}) {
            QVERIFY(!button->isDefault());
            QVERIFY(!button->autoDefault());
        }
        form_->show();
        QApplication::setActiveWindow(form_.get());
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        for (QWidget* box : {static_cast<QWidget*>(&form_->edSrc), static_cast<QWidget*>(&form_->edDst)}) {
            QTest::keyClick(box, Qt::Key_Return);
            QTest::keyClick(box, Qt::Key_Enter);
            QTest::keyClick(box, Qt::Key_Escape);
        }
        QTest::keyClick(form_.get(), Qt::Key_Escape);
        QVERIFY(form_->isVisible());
        QVERIFY(dialogs_->run.shown.empty());
        QVERIFY(openDialog_->asked.isEmpty());
        QCOMPARE(conversions_, 0);
    }

    void TheTemplatesAreFilledAtCreation()
    {
        QVERIFY(form_->NadHeader == kNadHeaderTemplate);
        QCOMPARE(form_->NadHeader.size(), std::size_t{223});
        QCOMPARE(form_->NadTrailer.size(), std::size_t{12});
        for (const std::uint8_t byte : form_->NadTrailer)
            QCOMPARE(byte, std::uint8_t{0});
        QVERIFY(form_->IndexPath.empty());
    }

    void TheIconIsOne32PixelPictureInSixteenColours()
    {
        const QIcon icon = form_->windowIcon();
        QVERIFY(!icon.isNull());
        QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
        const QImage image = icon.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(32, 32));
        QSet<QRgb> opaque;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                QVERIFY(qAlpha(pixel) == 0 || qAlpha(pixel) == 255);  // a mask, not blending
                if (qAlpha(pixel) == 255)
                    opaque.insert(pixel);
            }
        }
        QVERIFY(opaque.size() >= 2);
        QVERIFY(opaque.size() <= 16);
    }

    void BrowseFillsTheBoxOrLeavesItAsTyped()
    {
        QTest::keyClicks(&form_->edSrc, QStringLiteral("typed by hand"));
        openDialog_->answers = {std::nullopt, QStringLiteral("/games/TH2Data.000"), std::nullopt,
                                QStringLiteral("/opt/ソ/Ruvelle.exe")};
        form_->btSrc.click();  // cancelled
        QCOMPARE(form_->edSrc.text(), QStringLiteral("typed by hand"));
        form_->btSrc.click();
        QCOMPARE(form_->edSrc.text(), QStringLiteral("/games/TH2Data.000"));
        form_->btDst.click();  // cancelled
        QCOMPARE(form_->edDst.text(), QStringLiteral("C:\\Program FIles\\Ruvelle\\Ruvelle.exe"));
        form_->btDst.click();
        QCOMPARE(form_->edDst.text(), QStringLiteral("/opt/ソ/Ruvelle.exe"));
        QCOMPARE(openDialog_->asked, (QStringList{"TH2Data.000", "TH2Data.000", "RUVELLE.EXE", "RUVELLE.EXE"}));
        QVERIFY(dialogs_->run.shown.empty());  // browsing checks nothing
    }

    void DroppingAFileOntoABoxPutsItsPathThere()
    {
        // The box's text is replaced, not added to at the drop point.
        const QString file = QDir::temp().absoluteFilePath(QStringLiteral("ソ/Ruvelle.exe"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file), QUrl::fromLocalFile(QStringLiteral("/second/file"))});
        const QPoint centre = form_->edDst.rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form_->edDst, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form_->edDst, &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(form_->edDst.text(), QDir::toNativeSeparators(file));
        QCOMPARE(form_->edSrc.text(), QString());
    }
};

}  // namespace pomvella

QTEST_MAIN(pomvella::FormTest)
#include "FormTest.moc"
