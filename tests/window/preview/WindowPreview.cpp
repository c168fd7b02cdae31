// pomvella-window-preview: the window with a stand-in conversion that
// reports a wrong archive, for screenshots and start-up measurements.
//   pomvella-window-preview               shows the window until it is closed
//   pomvella-window-preview --grab FILE   saves the shown window as FILE and quits
#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QTimer>

#include "app/window/ApplicationTitle.h"
#include "app/window/ProgramIcon.h"
#include "app/window/TForm1.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(pomvella::kApplicationTitle));
    QApplication::setWindowIcon(pomvella::MakeProgramIcon());
    pomvella::TForm1 Form1([](const pomvella::CharacterJob&) { return int{pomvella::kBuildNotPackArchive}; });
    Form1.show();

    if (argc == 3 && std::strcmp(argv[1], "--grab") == 0) {
        const QString file = QString::fromLocal8Bit(argv[2]);
        // Give the window system time to map and paint the window first.
        QTimer::singleShot(1000, &Form1, [&Form1, file] {
            const bool saved = Form1.grab().save(file);
            if (!saved)
                std::fprintf(stderr, "pomvella-window-preview: cannot write %s\n", qPrintable(file));
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return QApplication::exec();
}
