// The desktop program's entry. Until the window exists it runs the start-up sequence and, with
// --version, prints the product name and the version text.
#include "foundation/Program.h"
#include "model/Setup.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    lintaro::InitProgramValues();
    lintaro::InitProgramSetup();
    QTextStream out(stdout);
    // The window comes later; until then the program runs the start-up sequence and says who it is.
    out << lintaro::Version().ProductName << ' ' << lintaro::Version().VersionText << '\n';
    return 0;
}
