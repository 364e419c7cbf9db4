// The desktop program: the start-up values and the setup exist before the window; the first
// command-line argument names an order or material to open. --version prints who it is.
#include "app/window/LNEAppForm.h"
#include "calc/Calculator.h"
#include "foundation/Program.h"
#include "model/Setup.h"

#include <QApplication>
#include <QTextStream>

#include <cstring>

int main(int argc, char** argv) {
    // --version answers without a display.
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        QCoreApplication app(argc, argv);
        lintaro::InitProgramValues();
        QTextStream(stdout) << lintaro::Version().ProductName << ' ' << lintaro::Version().VersionText
                            << '\n';
        return 0;
    }
    QApplication app(argc, argv);
    lintaro::InitProgramValues();
    lintaro::InitProgramSetup();
    lintaro::InstallCalculator();
    const QStringList arguments = QApplication::arguments();
    // No display name: the desktop would append it to the title, which is exactly
    // "Lintaro - FILE.LNO".
    lintaro::TLNEAppForm window(arguments.size() > 1 ? arguments[1] : QString());
    window.show();
    return QApplication::exec();
}
