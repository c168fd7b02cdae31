#include "app/window/QtFileOpenDialog.h"

#include <QDir>
#include <QFileDialog>

namespace pomvella {

std::optional<QString> QtFileOpenDialog::Execute(const QString& fileName)
{
    QFileDialog dialog(owner_);
    // Qt's own dialog matches name filters without regard to letter case on
    // every system; some native ones do not, and "Ruvelle.exe" must be listed
    // under "RUVELLE.EXE".
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(fileName + QStringLiteral(" (") + fileName + QStringLiteral(")"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(chosen.front());
}

}  // namespace pomvella
