#include "app/window/TForm1.h"

#include <optional>
#include <utility>

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFont>
#include <QMimeData>
#include <QScreen>
#include <QUrl>

#include "app/window/ApplicationTitle.h"
#include "app/window/MessageBoxDialogs.h"
#include "app/window/ProgramIcon.h"
#include "app/window/QtFileOpenDialog.h"
#include "base/Error.h"
#include "base/ExecutableFolder.h"

namespace pomvella {

namespace {

// The window was laid out in these pixels and is not rescaled.
constexpr int kClientWidth = 514;
constexpr int kClientHeight = 168;

// A proportional Japanese Gothic face: the first one installed.
QFont GothicFont(int pixelHeight, bool bold = false)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

void Place(QWidget& widget, int left, int top, int width, int height, int fontPixels, bool bold = false)
{
    widget.setGeometry(left, top, width, height);
    widget.setFont(GothicFont(fontPixels, bold));
}

// Neither button of the window reacts to Enter pressed elsewhere.
void MakePlainButton(QPushButton& button)
{
    button.setAutoDefault(false);
    button.setDefault(false);
}

// The local file that a drag carries, if it carries one.
std::optional<QString> DroppedFile(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls())
        return std::nullopt;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            return QDir::toNativeSeparators(url.toLocalFile());
    }
    return std::nullopt;
}

}  // namespace

TForm1::TForm1(Converter convert, std::unique_ptr<FileOpenDialog> openDialog, std::unique_ptr<FormDialogs> dialogs)
    : OpenDialog1(std::move(openDialog)), convert_(std::move(convert)), dialogs_(std::move(dialogs))
{
    if (!OpenDialog1)
        OpenDialog1 = std::make_unique<QtFileOpenDialog>(this);
    if (!dialogs_)
        dialogs_ = std::make_unique<MessageBoxDialogs>(this);
    LayOut();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::LayOut()
{
    // A fixed frame with the system menu and a maximise box but no minimise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QString::fromUtf8(kApplicationTitle));
    setWindowIcon(MakeProgramIcon());
    setFont(GothicFont(15));
    setFixedSize(kClientWidth, kClientHeight);

    Place(Label1, 8, 8, 369, 17, 17);
    Label1.setText(QStringLiteral("ToHeart2 データファイルのあるパス"));
    Place(edSrc, 8, 32, 457, 25, 17);
    Place(btSrc, 472, 32, 33, 25, 15);
    btSrc.setText(QStringLiteral("..."));
    Place(Label2, 8, 64, 369, 17, 17);
    Label2.setText(QStringLiteral("Ruvelle実行ファイルのあるパス"));
    Place(edDst, 8, 88, 457, 25, 17);
    edDst.setText(QStringLiteral("C:\\Program FIles\\Ruvelle\\Ruvelle.exe"));
    Place(btDst, 472, 88, 33, 25, 15);
    btDst.setText(QStringLiteral("..."));
    Place(btExec, 200, 128, 113, 33, 18, true);
    btExec.setText(QStringLiteral("実　　行"));

    for (QLabel* label : {&Label1, &Label2})
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (QPushButton* button : {&btSrc, &btDst, &btExec})
        MakePlainButton(*button);
    for (QLineEdit* box : {&edSrc, &edDst})
        box->installEventFilter(this);

    setTabOrder(&edSrc, &btSrc);
    setTabOrder(&btSrc, &edDst);
    setTabOrder(&edDst, &btDst);
    setTabOrder(&btDst, &btExec);
    edSrc.setFocus();

    connect(&btSrc, &QPushButton::clicked, this, &TForm1::btSrcClick);
    connect(&btDst, &QPushButton::clicked, this, &TForm1::btDstClick);
    connect(&btExec, &QPushButton::clicked, this, &TForm1::btExecClick);

    if (const QScreen* display = screen()) {
        QRect placed(QPoint(), size());
        placed.moveCenter(display->geometry().center());
        move(placed.topLeft());
    }
}

void TForm1::FormCreate()
{
    NadHeader = kNadHeaderTemplate;
    NadTrailer = kNadTrailerTemplate;
}

void TForm1::btSrcClick() { Browse(edSrc, QStringLiteral("TH2Data.000")); }

void TForm1::btDstClick() { Browse(edDst, QStringLiteral("RUVELLE.EXE")); }

void TForm1::Browse(QLineEdit& box, const QString& fileName)
{
    if (const std::optional<QString> chosen = OpenDialog1->Execute(fileName))
        box.setText(*chosen);
}

void TForm1::btExecClick()
{
    RunState state{IndexPath, DataPath, OutputDir};
    RunOutcome outcome = RunOutcome::Stopped;
    std::optional<std::string> failure;
    // An error ends the run and is shown like any error that ends a button
    // handler; the window stays and the button works again.
    try {
        outcome = RunBuildCommand(edSrc.text().toStdString(), edDst.text().toStdString(), state, *dialogs_, convert_,
                                  NadHeader, NadTrailer, ExecutableFolder());
    } catch (const Error& error) {
        failure = error.what();
    } catch (const std::exception& error) {
        // Memory exhaustion and the like: an exception must not leave a Qt
        // slot, so it is reported the same way.
        failure = error.what();
    }
    IndexPath = std::move(state.IndexPath);
    DataPath = std::move(state.DataPath);
    OutputDir = std::move(state.OutputDir);
    if (failure) {
        dialogs_->ShowErrorBox(ErrorBoxText(*failure));
        return;
    }
    if (outcome == RunOutcome::Closed)
        close();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    QLineEdit* box = watched == &edSrc ? &edSrc : watched == &edDst ? &edDst : nullptr;
    if (box == nullptr)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!DroppedFile(drag->mimeData()))
            break;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const std::optional<QString> file = DroppedFile(drop->mimeData());
        if (!file)
            break;
        box->setText(*file);
        drop->acceptProposedAction();
        return true;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pomvella
