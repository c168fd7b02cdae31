#include "app/window/MessageBoxDialogs.h"

#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QSysInfo>

#include "app/run/HostLauncher.h"
#include "app/window/ApplicationTitle.h"
#include "app/window/QtPathText.h"

namespace pomvella {

namespace {

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

bool MessageBoxDialogs::ShowMessage(RunMessage message)
{
    const RunMessageText shown = MessageTextOf(message);
    const QMessageBox::Icon icon =
        shown.icon == RunIcon::Information ? QMessageBox::Information : QMessageBox::Warning;
    const QMessageBox::StandardButtons buttons =
        shown.buttons == RunButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok;
    QString text = FromUtf8(shown.text);
    // The confirmation breaks its lines with CR LF; Qt's labels break at LF
    // and would show the CR.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(icon, FromUtf8(kRunCaption), text, buttons, owner_);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

void MessageBoxDialogs::LaunchHost(const std::filesystem::path& host)
{
    const bool systemIsWindows = QSysInfo::kernelType() == QStringLiteral("winnt");
    const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    const HostCommand command = HostLaunchCommand(host, systemIsWindows, PathFromQString(wine));
    QStringList arguments;
    for (const std::filesystem::path& argument : command.arguments)
        arguments.append(QStringFromPath(argument));
    // A failed start is not reported; the window closes all the same.
    QProcess::startDetached(QStringFromPath(command.program), arguments);
}

void MessageBoxDialogs::ShowErrorBox(const std::string& text)
{
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kApplicationTitle), FromUtf8(text), QMessageBox::Ok,
                    owner_);
    box.exec();
}

}  // namespace pomvella
