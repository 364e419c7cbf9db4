// lintaro-cli workshop: the workshop pack of a calculated order (cover, full-page diagrams with the
// cut sequence and cut lists, offcut list, labels) as a vector PDF and/or on a printer.
#include "cli/Command.h"

#include "model/CuttingSheet.h"
#include "model/Order.h"
#include "model/Sheets.h"
#include "workshop/PackOutput.h"
#include "workshop/WorkshopPack.h"

#include <QFileInfo>
#include <QPrinterInfo>

namespace lintaro::cli {

namespace {

using namespace lintaro::workshop;

class TWorkshopCommand : public TCommand {
public:
    QString Name() const override { return QStringLiteral("workshop"); }
    QList<TOptionSpec> Options() const override {
        return CommonOptions() << TOptionSpec{"paper", true} << TOptionSpec{"labels", true}
                               << TOptionSpec{"no-sequence", false} << TOptionSpec{"printer", true}
                               << TOptionSpec{"date", true};
    }
    QString Synopsis() const override {
        return QStringLiteral("workshop ORDER.LNO OUT.pdf [--paper A4|A3|Letter] "
                              "[--labels a4-3x8|a4-2x7|roll-62x29|roll-100x50|none] [--no-sequence] "
                              "[--printer NAME]");
    }
    QString Help() const override {
        return QStringLiteral(
            "Makes the workshop pack of a calculated order: a cover page (order, material, stock\n"
            "used, yield, unplaced pieces, contents), one full-page diagram per distinct plan with\n"
            "every piece's number and size, the dimension chains of the first cuts, the cut sequence\n"
            "with the fence settings and the cut list of the sheet, the list of offcuts returned to\n"
            "stock, and a label with a Code 128 barcode (order/part/piece) for every piece and rest.\n"
            "Sizes are in the order's length unit. One line is written per page.\n"
            "\n"
            "  --paper A4|A3|Letter   paper of the cover, diagrams and lists (default A4)\n"
            "  --labels KIND          the labels: a4-3x8 (70 x 37 mm, default), a4-2x7 (99.1 x 38.1\n"
            "                         mm), roll-62x29 or roll-100x50 (one label a page), or none\n"
            "  --no-sequence          diagrams without the cut sequence\n"
            "  --printer NAME         also (or, without OUT.pdf, only) print on NAME (lpstat -p)\n"
            "  --date YYYY-MM-DD      the date on the cover and the rest labels (default today)\n"
            "\n"
            "OUT.pdf is never the order file, and an existing OUT.pdf must be a plain file; it is\n"
            "replaced only when the whole pack has been written.\n"
            "\n"
            "Examples:\n"
            "  lintaro-cli workshop Kitchen-result.LNO kitchen-workshop.pdf\n"
            "  lintaro-cli workshop Kitchen-result.LNO k.pdf --paper A3 --labels roll-62x29\n"
            "  lintaro-cli workshop Kitchen-result.LNO --printer Workshop --labels none\n");
    }

    int Run(TSession& session, const TCommandLine& line, QTextStream& out) override {
        const bool toPrinter = line.Has("printer");
        if (line.Positionals().size() != 2 && !(toPrinter && line.Positionals().size() == 1))
            throw UsageError(QStringLiteral("usage: lintaro-cli %1").arg(Synopsis()));
        TPackOptions options;
        options.Paper = paper(line);
        options.Labels = labels(line);
        options.Sequence = !line.Has("no-sequence");
        if (line.Has("date")) {
            options.Date = QDate::fromString(line.Value("date"), QStringLiteral("yyyy-MM-dd"));
            if (!options.Date.isValid())
                throw UsageError(QStringLiteral("--date wants a date as YYYY-MM-DD"));
        }
        const QString source = line.Positionals().at(0);
        const QString target = line.Positionals().value(1);
        const QString printer = line.Value("printer");
        if (toPrinter && printer.isEmpty())
            throw UsageError(QStringLiteral("--printer wants the printer's name"));
        if (!target.isEmpty()) {
            const QFileInfo info(target);
            if (info.exists() && !info.isFile())
                throw InputError(
                    QStringLiteral("%1: not a plain file; give the name of the PDF to write").arg(target));
            RequireTargetFolder(target);
            const QFileInfo input(source);
            if (info.exists() && input.exists() && info.canonicalFilePath() == input.canonicalFilePath())
                throw InputError(
                    QStringLiteral("%1: the pack would overwrite the order; give another name").arg(target));
        }
        if (toPrinter && !QPrinterInfo::availablePrinterNames().contains(printer))
            throw InputError(
                QStringLiteral("--printer %1: no such printer (lpstat -p lists them)").arg(printer));

        session.LoadOrder(source);
        if (session.Order().Sheets()->CuttingSheets()->ItemCount() == 0)
            throw InputError(QStringLiteral("%1: the order has no calculated sheets").arg(source));
        session.WarnIfResultOutOfDate("workshop", source);
        const TWorkshopPack pack(session.Order(), options);
        if (pack.PageCount() == 0)
            throw InputError(WithFileName(source, pack.Problem()));
        TPackOutputOptions output;
        output.OnPage = [&out](int page, int pages) {
            out << "page " << page << " of " << pages << '\n';
            out.flush();
        };
        QString error;
        if (!target.isEmpty()) {
            if (!WritePackPdf(pack, target, output, &error)) {
                QTextStream(stderr) << "lintaro-cli workshop: cannot save " << WithFileName(target, error)
                                    << '\n';
                return 1;
            }
            out << target << '\n';
        }
        if (toPrinter && !PrintPack(pack, printer, output, &error)) {
            QTextStream(stderr) << "lintaro-cli workshop: printer " << printer << ": " << error << '\n';
            return 1;
        }
        return 0;
    }

private:
    static TPackPaper paper(const TCommandLine& line) {
        if (!line.Has("paper"))
            return ppA4;
        const QString value = line.Value("paper").toLower();
        if (value == QLatin1String("a4"))
            return ppA4;
        if (value == QLatin1String("a3"))
            return ppA3;
        if (value == QLatin1String("letter"))
            return ppLetter;
        throw UsageError(QStringLiteral("--paper wants A4, A3 or Letter"));
    }
    static TLabelStock labels(const TCommandLine& line) {
        if (!line.Has("labels"))
            return lsA4_3x8;
        const QString value = line.Value("labels").toLower();
        static const QList<QPair<QString, TLabelStock>> kinds = {{"a4-3x8", lsA4_3x8},
                                                                 {"a4-2x7", lsA4_2x7},
                                                                 {"roll-62x29", lsRoll62x29},
                                                                 {"roll-100x50", lsRoll100x50},
                                                                 {"none", lsNone}};
        for (const auto& [name, kind] : kinds)
            if (value == name)
                return kind;
        throw UsageError(QStringLiteral("--labels wants a4-3x8, a4-2x7, roll-62x29, roll-100x50 or none"));
    }
};

} // namespace

std::unique_ptr<TCommand> MakeWorkshopCommand() {
    return std::make_unique<TWorkshopCommand>();
}

} // namespace lintaro::cli
