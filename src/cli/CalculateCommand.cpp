// lintaro-cli calculate: calculates an order (or a CSV part list on a material), printing the
// report as it goes, and saves the order with its result when asked to.
#include "cli/Command.h"

#include "model/ApplicationLinks.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/Part.h"
#include "model/Setup.h"
#include "model/Sheets.h"

#include <QDir>
#include <QFileInfo>

namespace lintaro::cli {

namespace {

const QString kUsage =
    QStringLiteral("calculate ORDER.LNO [--material FILE.LNM] [--output OUT.LNO] [--deterministic[=N]] "
                   "[--improve[=SECONDS]]\n"
                   "   or: lintaro-cli calculate --parts PARTS.CSV --material FILE.LNM [--output OUT.LNO] "
                   "[--deterministic[=N]] [--improve[=SECONDS]]");

// --improve[=SECONDS]: the improvement stage after the search, for this run (SheetsImprove and
// SheetsImproveTime of the settings).
void applyImprove(const TCommandLine& line) {
    if (!line.Has("improve"))
        return;
    TSetup* setup = TApplicationLinks::Setup();
    if (!line.Value("improve").isEmpty()) {
        bool ok = false;
        const int seconds = line.Value("improve").toInt(&ok);
        if (!ok || seconds < 1 || seconds > 600)
            throw UsageError(QStringLiteral("--improve=SECONDS wants whole seconds from 1 to 600"));
        setup->SetSheetsImproveTime(seconds);
    }
    setup->SetSheetsImprove(true);
}

class TCalculateCommand : public TCommand {
public:
    QString Name() const override { return QStringLiteral("calculate"); }
    QList<TOptionSpec> Options() const override {
        return CommonOptions() << TOptionSpec{"material", true} << TOptionSpec{"output", true}
                               << TOptionSpec{"parts", true} << TOptionSpec{"deterministic", true, true}
                               << TOptionSpec{"improve", true, true};
    }

    int Run(TSession& session, const TCommandLine& line, QTextStream& out) override {
        if (line.Has("parts")) {
            RequirePositionals(line, 0, kUsage);
            if (!line.Has("material"))
                throw UsageError(QStringLiteral("calculate --parts needs --material FILE.LNM"));
            session.LoadMaterial(line.Value("material"));
            const QString csv = line.Value("parts");
            RequireReadableFile(csv);
            TPartList* parts = session.Order().Parts();
            if (!parts->LoadAsCSV(csv))
                throw InputError(QStringLiteral("%1: %2").arg(csv, parts->ErrorString()));
            for (const QString& note : parts->ImportNotes())
                QTextStream(stderr) << csv << ": " << note << '\n';
        } else {
            RequirePositionals(line, 1, kUsage);
            session.LoadOrder(line.Positionals().at(0));
            if (line.Has("material"))
                session.LoadMaterial(line.Value("material"));
        }
        if (line.Has("output")) {
            const QFileInfo target(line.Value("output"));
            if (!target.absoluteDir().exists())
                throw InputError(QStringLiteral("%1: the folder does not exist").arg(line.Value("output")));
        }
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
        // The window's refresh hook: print the phases and the report lines as they come.
        TApplicationLinks::SetControlsRefresh([&](TComponent*, const QString& prop) {
            if (prop == QLatin1String("CalculationReport")) {
                printNew();
            } else if (prop == QLatin1String("CalculationPhase") && sheets->CalculationPhase() != lastPhase) {
                lastPhase = sheets->CalculationPhase();
                if (lastPhase != scpNone) {
                    out << "  " << TSheets::PhaseText(lastPhase) << '\n';
                    out.flush();
                }
            }
        });
        sheets->Calculate();
        TApplicationLinks::SetControlsRefresh({});
        printNew();

        const bool ok = sheets->State() == ssCalculatedOK;
        out << "State: " << (ok ? "ssCalculatedOK" : "ssCalculatedError") << '\n';
        if (line.Has("output")) {
            if (!session.Order().SaveToFile(line.Value("output"))) {
                QTextStream(stderr) << line.Value("output") << ": " << session.Order().ErrorString() << '\n';
                return 1;
            }
        }
        return ok ? 0 : 1;
    }
};

} // namespace

std::unique_ptr<TCommand> MakeCalculateCommand() {
    return std::make_unique<TCalculateCommand>();
}

} // namespace lintaro::cli
