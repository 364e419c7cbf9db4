// Pictures of the main window for looking at its pages without a person at the screen:
//   lintaro-windowshot ORDER.LNO OUTDIR   writes OUTDIR/Order.png … OUTDIR/Setup.png, the window
// opened on the order as from the command line.
#include "app/window/LNEAppForm.h"
#include "foundation/Program.h"
#include "model/Setup.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 3) {
        QTextStream(stderr) << "usage: lintaro-windowshot ORDER.LNO OUTDIR\n";
        return 2;
    }
    lintaro::InitProgramValues();
    lintaro::InitProgramSetup();
    lintaro::TLNEAppForm window(arguments[1]);
    window.resize(1000, 720);
    window.show();
    QApplication::processEvents();
    QDir().mkpath(arguments[2]);
    for (lintaro::TPage page : lintaro::kPages) {
        window.SwitchPage(page);
        QApplication::processEvents();
        window.grab().save(QDir(arguments[2]).filePath(lintaro::PageName(page) + QStringLiteral(".png")));
    }
    return 0;
}
