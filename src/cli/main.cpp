// lintaro-cli: the batch front end of the Lintaro core.
#include "cli/Command.h"
#include "cli/OutputTarget.h"

#include "foundation/ConversionError.h"
#include "foundation/Program.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <vector>

#include <unistd.h>

using namespace lintaro::cli;

namespace {

const char* kCommonHelp =
    "Common options:\n"
    "  --data-dir DIR            where the data files LNTR.* are (default: beside the program)\n"
    "  --settings FILE.INI       the settings to use (default: lintaro.INI beside the program)\n"
    "  --reduction-time MIN,MAX  seconds after which the search narrows (overrides the settings)\n"
    "  --help                    this help\n"
    "\n"
    "Exit codes: 0 success; 1 the operation ran but reports failure (a calculation that ended\n"
    "with errors or was stopped, a file that could not be saved); 2 bad usage or input (one\n"
    "line on stderr, nothing written).\n";

std::vector<std::unique_ptr<TCommand>> commands() {
    std::vector<std::unique_ptr<TCommand>> list;
    list.push_back(MakeCalculateCommand());
    list.push_back(MakeSummaryCommand());
    list.push_back(MakeExportHtmlCommand());
    list.push_back(MakeExportCsvCommand());
    list.push_back(MakeExportCutlistCommand());
    list.push_back(MakeDrawCommand());
    list.push_back(MakePrintCommand());
    list.push_back(MakeWorkshopCommand());
    return list;
}

void printOverview(QTextStream& out, const std::vector<std::unique_ptr<TCommand>>& list) {
    out << "lintaro-cli: cutting plans from the command line.\n\nUsage:\n";
    for (const auto& command : list)
        out << "  lintaro-cli " << command->Synopsis() << '\n';
    out << "  lintaro-cli help COMMAND | COMMAND --help | --version\n\n";
    out << "Commands:\n"
           "  calculate       calculate an order or a CSV part list and save the result\n"
           "  summary         the figures of a result, as text or JSON with every piece\n"
           "  export-html     the order as an HTML offer\n"
           "  export-csv      the order's part list as CSV\n"
           "  export-cutlist  one row per placed piece, CSV or JSON\n"
           "  draw            result sheets as PDF, PNG or SVG\n"
           "  print           a printed document as PDF, text or on a printer\n"
           "  workshop        the workshop pack: diagrams, cut sequence, cut lists, labels\n\n";
    out << kCommonHelp;
}

void printCommandHelp(QTextStream& out, const TCommand& command) {
    out << "usage: lintaro-cli " << command.Synopsis() << "\n\n" << command.Help() << '\n' << kCommonHelp;
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
    const auto list = commands();
    auto find = [&](const QString& name) -> TCommand* {
        for (const auto& command : list)
            if (command->Name() == name)
                return command.get();
        return nullptr;
    };
    if (args.isEmpty()) {
        err << "lintaro-cli: no command given (lintaro-cli --help lists them)\n";
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || (args[0] == "help" && args.size() == 1)) {
        printOverview(out, list);
        return 0;
    }
    if (args[0] == "--version" || args[0] == "version") {
        lintaro::InitProgramValues();
        out << "lintaro-cli " << lintaro::Version().Major << '.' << lintaro::Version().Minor << '.'
            << lintaro::Version().Release << " (build " << lintaro::Version().Build << ")\n";
        return 0;
    }
    if (args[0] == "help") {
        if (const TCommand* command = find(args[1]); command && args.size() == 2) {
            printCommandHelp(out, *command);
            return 0;
        }
        err << "lintaro-cli help: unknown command '" << args.mid(1).join(' ')
            << "' (lintaro-cli --help lists them)\n";
        return 2;
    }
    const QString verb = args.takeFirst();
    TCommand* command = find(verb);
    if (!command) {
        err << "lintaro-cli: unknown command '" << verb << "' (lintaro-cli --help lists them)\n";
        return 2;
    }
    if (args.contains("--help") || args.contains("-h")) {
        printCommandHelp(out, *command);
        return 0;
    }
    try {
        const TCommandLine line = TCommandLine::Parse(args, command->Options());
        TSession session;
        session.ApplyCommonOptions(line);
        return command->Run(session, line, out);
    } catch (const OutputError& e) {
        out.flush();
        err << "lintaro-cli " << verb << ": " << e.message() << '\n';
        return 1;
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
