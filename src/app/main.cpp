// The desktop program's entry. Until the window exists it runs the start-up sequence and, with
// --version, prints the product name and the version text.
#include "foundation/Program.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    lintaro::InitProgramValues();
    const QStringList args = app.arguments();
    QTextStream out(stdout);
    if (args.contains(QStringLiteral("--version"))) {
        out << lintaro::Version().ProductName << ' ' << lintaro::Version().VersionText << '\n';
        return 0;
    }
    out << lintaro::Version().ProductName << ' ' << lintaro::Version().VersionText << '\n';
    return 0;
}
