// lintaro-cli: the batch front end of the Lintaro core.
#include "cli/Command.h"

#include "foundation/ConversionError.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <vector>

#include <unistd.h>

using namespace lintaro::cli;

namespace {

const char* kHelp =
    "lintaro-cli calculate ORDER.LNO [--material FILE.LNM] [--output OUT.LNO] [--deterministic[=N]]\n"
    "lintaro-cli calculate --parts PARTS.CSV --material FILE.LNM [--output OUT.LNO] [--deterministic[=N]]\n"
    "lintaro-cli summary ORDER.LNO [--json]\n"
    "lintaro-cli export-html ORDER.LNO OUT.HTM\n"
    "lintaro-cli export-csv ORDER.LNO OUT.CSV\n"
    "lintaro-cli draw ORDER.LNO (--sheet N | --all) OUT.svg|OUT.png\n"
    "common options: --data-dir DIR (where LNTR.* live), --settings FILE.INI,\n"
    "                --reduction-time MIN,MAX (seconds; overrides the settings)\n"
    "--deterministic[=N]: a virtual clock of N search expansions per second (default 500000, about\n"
    "                this machine's real pace), so a calculation gives the same plan on any machine.\n"
    "exit codes: 0 success, 1 the operation ran but reports failure, 2 bad usage or input.\n";

std::vector<std::unique_ptr<TCommand>> commands() {
    std::vector<std::unique_ptr<TCommand>> list;
    list.push_back(MakeCalculateCommand());
    list.push_back(MakeSummaryCommand());
    list.push_back(MakeExportHtmlCommand());
    list.push_back(MakeExportCsvCommand());
    list.push_back(MakeDrawCommand());
    return list;
}

} // namespace

int main(int argc, char** argv) {
    // Drawing needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a session (cron, CI) Qt would warn about the runtime folder on every run.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray dir =
            QDir::tempPath().toLocal8Bit() + "/lintaro-runtime-" + QByteArray::number(getuid());
        if (QDir().mkpath(QString::fromLocal8Bit(dir))) {
            QFile::setPermissions(QString::fromLocal8Bit(dir),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            qputenv("XDG_RUNTIME_DIR", dir);
        }
    }
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << kHelp;
        return args.isEmpty() ? 2 : 0;
    }
    const QString verb = args.takeFirst();
    for (const auto& command : commands()) {
        if (command->Name() != verb)
            continue;
        try {
            const TCommandLine line = TCommandLine::Parse(args, command->Options());
            TSession session;
            session.ApplyCommonOptions(line);
            return command->Run(session, line, out);
        } catch (const UsageError& e) {
            out.flush();
            err << "lintaro-cli " << verb << ": " << e.message() << '\n';
            return 2;
        } catch (const lintaro::ConversionError& e) {
            out.flush();
            err << "lintaro-cli " << verb << ": " << e.message() << '\n';
            return 2;
        }
    }
    err << "lintaro-cli: unknown command '" << verb << "' (try --help)\n";
    return 2;
}
