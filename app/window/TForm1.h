#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "app/run/RunCommand.h"
#include "app/window/FileOpenDialog.h"
#include "app/window/FormDialogs.h"
#include "character/NadHeader.h"

namespace pomvella {

// The one window: two path boxes with their browse buttons and the run
// button. It carries the state of a run in its fields.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    // convert is the conversion (BuildCharacterFiles). The dialogs default to
    // the real ones; tests hand in scripted ones.
    explicit TForm1(Converter convert, std::unique_ptr<FileOpenDialog> openDialog = nullptr,
                    std::unique_ptr<FormDialogs> dialogs = nullptr);
    ~TForm1() override;

    // The controls are children of the window and members of it: they go
    // before the window itself, in reverse order, which Qt allows.
    QLineEdit edSrc{this};
    QLabel Label1{this};
    QPushButton btSrc{this};
    QLineEdit edDst{this};
    QLabel Label2{this};
    QPushButton btDst{this};
    QPushButton btExec{this};
    std::unique_ptr<FileOpenDialog> OpenDialog1;  // shared by both browse buttons
    // The archive's index and data streams belong to the conversion, which
    // opens and closes them within one call; the window holds no streams.
    std::string IndexPath;
    std::filesystem::path DataPath;
    std::filesystem::path OutputDir;
    NadHeaderBytes NadHeader{};
    NadTrailerBytes NadTrailer{};

public slots:
    void FormCreate();
    void btSrcClick();
    void btDstClick();
    void btExecClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayOut();
    void Browse(QLineEdit& box, const QString& fileName);

    Converter convert_;
    std::unique_ptr<FormDialogs> dialogs_;
};

}  // namespace pomvella
