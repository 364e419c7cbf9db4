// lintaro-cli calculate: calculates an order (or a CSV part list on a material), printing the
// report as it goes and a summary at the end, and saves the order with its result. A run stopped
// by Ctrl+C keeps and saves the sheets found so far.
#include "cli/Command.h"
#include "cli/InterruptWatch.h"
#include "cli/OutputTarget.h"
#include "cli/PartsCsvCheck.h"
#include "cli/ResultSummary.h"

#include "model/ApplicationLinks.h"
#include "model/CuttingSheet.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/Part.h"
#include "model/Setup.h"
#include "model/Sheets.h"

#include <QFile>
#include <QFileInfo>

namespace lintaro::cli {

namespace {

int validParts(const TPartList& parts) {
    int n = 0;
    for (int i = 0; i < parts.ItemCount(); ++i)
        if (parts.Part(i)->IsValid())
            ++n;
    return n;
}

// --improve[=SECONDS]: the improvement stage after the search, for this run (SheetsImprove and
// SheetsImproveTime of the settings); --improve=0: the search alone.
void applyImprove(const TCommandLine& line) {
    if (!line.Has("improve"))
        return;
    TSetup* setup = TApplicationLinks::Setup();
    if (!line.Value("improve").isEmpty()) {
        bool ok = false;
        const int seconds = line.Value("improve").toInt(&ok);
        if (!ok || seconds < 0 || seconds > 600)
            throw UsageError(
                QStringLiteral("--improve=SECONDS wants whole seconds from 1 to 600, or 0 for the "
                               "search alone"));
        if (seconds == 0) {
            setup->SetSheetsImprove(false);
            return;
        }
        setup->SetSheetsImproveTime(seconds);
    }
    setup->SetSheetsImprove(true);
}

class TCalculateCommand : public TCommand {
public:
    QString Name() const override { return QStringLiteral("calculate"); }
    QList<TOptionSpec> Options() const override {
        return CommonOptions() << TOptionSpec{"material", true} << TOptionSpec{"output", true}
                               << TOptionSpec{"force", false} << TOptionSpec{"parts", true}
                               << TOptionSpec{"lenient", false} << TOptionSpec{"deterministic", true, true}
                               << TOptionSpec{"improve", true, true};
    }
    QString Synopsis() const override {
        return QStringLiteral("calculate (ORDER.LNO | --parts PARTS.csv --material FILE.LNM) [options]");
    }
    QString Help() const override {
        return QStringLiteral(
            "Calculates the cutting plan of an order, or of a CSV part list on a material, prints the\n"
            "calculation report and a summary, and saves the order with its result.\n"
            "\n"
            "  ORDER.LNO             the order; its material file is looked for beside it\n"
            "  --material FILE.LNM   the material to cut from (needed with --parts)\n"
            "  --parts PARTS.csv     a part list instead of an order (format below)\n"
            "  --lenient             calculate the lines that can be read even when others cannot,\n"
            "                        as the window's import does; the problems are still printed\n"
            "  --output OUT.LNO      where to save the result; without it NAME-result.LNO beside the\n"
            "                        input, never over the input or an existing file\n"
            "  --force               replace an existing NAME-result.LNO\n"
            "  --deterministic[=N]   a virtual clock of N search steps per second (default 500000,\n"
            "                        about this machine's pace): the same plan on every machine\n"
            "  --improve[=SECONDS]   after the search, improve the whole result for SECONDS (1 to\n"
            "                        600, default the settings' SheetsImproveTime, 2); the settings\n"
            "                        have it on unless they say off; --improve=0: the search alone\n"
            "\n"
            "Part list (CSV): one part per line, five fields separated by \";\":\n"
            "  caption;X;Y;orientation;count        for example   Shelf;562.5;300;X;4\n"
            "  X is the length and Y the width in the user's unit (mm, or inches under the U.S.\n"
            "  measurement system), with the locale's decimal separator and no thousands separator.\n"
            "  Orientation is the grain rule: X keeps the part's X along the material's grain, Y its\n"
            "  Y, N (or empty) lets the part turn. The count is a whole number of at least 1 (empty\n"
            "  means 1). No header line; empty lines are skipped. Every line is checked: a problem\n"
            "  is printed as FILE:LINE: ... and, without --lenient, nothing is calculated.\n"
            "\n"
            "Ctrl+C stops the calculation: the sheets found so far are saved and the run ends with\n"
            "exit code 1. A second Ctrl+C ends at once.\n"
            "\n"
            "Examples:\n"
            "  lintaro-cli calculate Kitchen.LNO\n"
            "  lintaro-cli calculate --parts wardrobe.csv --material Board18.LNM --output wardrobe.LNO\n");
    }

    int Run(TSession& session, const TCommandLine& line, QTextStream& out) override {
        QTextStream err(stderr);
        QString input;
        if (line.Has("parts")) {
            RequirePositionals(line, 0, *this);
            if (!line.Has("material"))
                throw UsageError(QStringLiteral("--parts needs --material FILE.LNM"));
            input = line.Value("parts");
            readParts(session, input, line.Has("lenient"), err);
            session.LoadMaterial(line.Value("material"));
        } else {
            RequirePositionals(line, 1, *this);
            input = line.Positionals().at(0);
            session.LoadOrder(input);
            if (line.Has("material"))
                session.LoadMaterial(line.Value("material"));
            if (validParts(*session.Order().Parts()) == 0)
                throw InputError(QStringLiteral("%1: no valid parts").arg(input));
            // Without its material the order would be calculated against no stock at all.
            if (const QString& problem = session.Order().MaterialProblem();
                !line.Has("material") && !problem.isEmpty())
                throw InputError(QStringLiteral("%1: %2 (--material names another one)").arg(input, problem));
        }
        const QString target = outputPath(input, line);
        session.ApplyDeterministic(line);
        applyImprove(line);

        TSheets* sheets = session.Order().Sheets();
        qsizetype printed = 0;
        TSheetsCalculationPhase lastPhase = scpNone;
        auto printNew = [&] {
            const QStringList& report = sheets->CalculationReport();
            for (; printed < report.size(); ++printed)
                out << report[printed] << '\n';
            out.flush();
        };
        // Ctrl+C works as the window's stop button: the calculator ends after the current search
        // step, and the sheets found so far stay in the result.
        TInterruptWatch interrupt;
        bool stopping = false;
        auto stopOnSignal = [&] {
            TCalculatorBase* calculator = sheets->Calculator();
            if (stopping || !calculator || !TInterruptWatch::Pending())
                return;
            stopping = true;
            calculator->SetStop(true);
            out.flush();
            err << "lintaro-cli calculate: stopping; the sheets found so far will be saved\n";
            err.flush();
        };
        // The window's refresh hook: print the phases and the report lines as they come.
        TApplicationLinks::SetControlsRefresh([&](TComponent*, const QString& prop) {
            stopOnSignal();
            if (prop == QLatin1String("CalculationReport")) {
                printNew();
            } else if (prop == QLatin1String("CalculationPhase") && sheets->CalculationPhase() != lastPhase) {
                lastPhase = sheets->CalculationPhase();
                if (lastPhase != scpNone) {
                    out << "  " << TSheets::PhaseText(lastPhase) << '\n';
                    out.flush();
                }
                if (lastPhase == scpSolve)
                    TInterruptWatch::RaiseTestSignals(sheets->CuttingSheets()->ItemCount());
            }
        });
        sheets->Calculate();
        TApplicationLinks::SetControlsRefresh({});
        printNew();

        const TResultSummary summary = SummariseResult(session.Order());
        WriteSummary(summary, out);
        if (!session.Order().SaveToFile(target)) {
            out.flush();
            err << "lintaro-cli calculate: cannot save "
                << WithFileName(target, session.Order().ErrorString()) << '\n';
            return 1;
        }
        out << "Saved: " << target << '\n';
        return summary.State == ssCalculatedOK ? 0 : 1;
    }

private:
    // Checks every line of the part list; refuses it on any problem unless lenient, and reads it
    // as the window does.
    static void readParts(TSession& session, const QString& csv, bool lenient, QTextStream& err) {
        RequireReadableFile(csv);
        QFile file(csv);
        if (!file.open(QIODevice::ReadOnly))
            throw InputError(WithFileName(csv, file.errorString()));
        const TPartsCsvCheck check = CheckPartsCsv(csv, file.readAll());
        if (!check.FileError.isEmpty())
            throw InputError(check.FileError);
        for (const QString& problem : check.Problems)
            err << problem << '\n';
        err.flush();
        if (!check.Problems.isEmpty() && !lenient)
            throw InputError(
                QStringLiteral("%1: %2 %3, nothing calculated (--lenient calculates the lines that can "
                               "be read)")
                    .arg(csv)
                    .arg(check.Problems.size())
                    .arg(check.Problems.size() == 1 ? "problem" : "problems"));
        TPartList* parts = session.Order().Parts();
        if (!parts->LoadAsCSV(csv))
            throw InputError(WithFileName(csv, parts->ErrorString()));
        if (validParts(*parts) == 0)
            throw InputError(QStringLiteral("%1: no valid parts").arg(csv));
    }

    // --output, or NAME-result.LNO beside the input; checked before the calculation, so that no
    // work is done that could not be saved.
    static QString outputPath(const QString& input, const TCommandLine& line) {
        if (line.Has("output")) {
            const QString target = line.Value("output");
            RequireTargetFolder(target);
            if (QFileInfo(target).isDir())
                throw InputError(QStringLiteral("%1 is a folder").arg(target));
            return RequireOutputTarget(target);
        }
        const QFileInfo info(input);
        const QString target = info.path() + u'/' + info.completeBaseName() + QStringLiteral("-result.LNO");
        if (QFileInfo::exists(target) && !line.Has("force"))
            throw InputError(
                QStringLiteral("%1 already exists (--force replaces it, --output names another file)")
                    .arg(target));
        return RequireOutputTarget(target);
    }
};

} // namespace

std::unique_ptr<TCommand> MakeCalculateCommand() {
    return std::make_unique<TCalculateCommand>();
}

} // namespace lintaro::cli
