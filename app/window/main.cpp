// pomvella: the window program. It reads no arguments; Qt's own options are
// Qt's business.
#include <QApplication>

#include "app/window/ApplicationTitle.h"
#include "app/window/ProgramIcon.h"
#include "app/window/TForm1.h"
#include "character/CharacterJob.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(pomvella::kApplicationTitle));
    QApplication::setWindowIcon(pomvella::MakeProgramIcon());
    pomvella::TForm1 Form1(&pomvella::BuildCharacterFiles);
    Form1.show();
    return QApplication::exec();
}
