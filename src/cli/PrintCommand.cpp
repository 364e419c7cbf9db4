// lintaro-cli print: one of the window's printed documents, straight to a PDF file, a text file or a
// printer, from the shipped report templates.
#include "cli/Command.h"
#include "cli/OutputTarget.h"

#include "model/CuttingSheet.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/Sheets.h"
#include "print/BatchPrint.h"
#include "print/MaterialPrinter.h"
#include "print/OrderPrinter.h"
#include "print/PartsPrinter.h"
#include "print/SetupPrinter.h"
#include "print/SheetsPrinter.h"
#include "reports/ReportMessages.h"
#include "reports/ReportPrinter.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace lintaro::cli {

namespace {

class TPrintCommand : public TCommand {
public:
    QString Name() const override { return QStringLiteral("print"); }
    QList<TOptionSpec> Options() const override {
        return CommonOptions() << TOptionSpec{"document", true} << TOptionSpec{"pdf", true}
                               << TOptionSpec{"text", true} << TOptionSpec{"printer", true}
                               << TOptionSpec{"pages", true} << TOptionSpec{"copies", true};
    }
    QString Synopsis() const override {
        return QStringLiteral(
            "print FILE --document DOCUMENT (--pdf OUT.pdf | --text OUT.txt | --printer NAME) [options]");
    }
    QString Help() const override {
        return QStringLiteral(
            "Prints one of the window's documents from the shipped report templates (LNTR.PRS),\n"
            "without a preview, and writes one line per page it hands on (in a text file, per copy).\n"
            "\n"
            "  --document DOCUMENT  the document to print, one of:\n"
            "      order            the order for the customer: items, totals with and without VAT\n"
            "      parts            the order's parts list\n"
            "      material         the material with its stock dimensions (FILE is an .LNM file)\n"
            "      sheets           the drawings of the calculated cutting sheets\n"
            "      params           the calculation's parameters and yield\n"
            "      setup            the settings of --settings (FILE is any order file)\n"
            "  --pdf OUT.pdf        write a PDF file\n"
            "  --text OUT.txt       write the pages as text, one form feed after each page\n"
            "  --printer NAME       send to the printer NAME (see lpstat -p)\n"
            "  --pages FROM-TO      only these pages (1 is the first; \"3-\" up to the last)\n"
            "  --copies N           copies, 1 to 99 (default 1): the printer prints N copies, the\n"
            "                       text file holds the pages N times over; a PDF holds them once\n"
            "\n"
            "FILE is an order (.LNO), or a material (.LNM) for the material document. The\n"
            "supplier comes from the settings (--settings).\n"
            "\n"
            "Examples:\n"
            "  lintaro-cli print Kitchen.LNO --document order --pdf kitchen-offer.pdf \\\n"
            "      --settings samples/Sample.INI\n"
            "  lintaro-cli print Board18.LNM --document material --text board18.txt\n"
            "  lintaro-cli print Kitchen-result.LNO --document sheets --printer Workshop --copies 2\n");
    }

    int Run(TSession& session, const TCommandLine& line, QTextStream& out) override {
        RequirePositionals(line, 1, *this);
        const QString document = line.Value("document");
        static const QStringList documents = {"order", "parts", "material", "sheets", "params", "setup"};
        if (!line.Has("document") || !documents.contains(document))
            throw UsageError(QStringLiteral("--document wants one of %1").arg(documents.join(u'|')));
        const int targets = int(line.Has("pdf")) + int(line.Has("text")) + int(line.Has("printer"));
        if (targets != 1)
            throw UsageError(
                QStringLiteral("give exactly one of --pdf OUT.pdf, --text OUT.txt, --printer NAME"));

        TBatchPrintOptions options;
        if (line.Has("pdf")) {
            options.Target = btPdf;
            options.Output = line.Value("pdf");
        } else if (line.Has("text")) {
            options.Target = btText;
            options.Output = line.Value("text");
        } else {
            options.Target = btPrinter;
            options.Output = line.Value("printer");
            if (options.Output.isEmpty())
                throw UsageError(QStringLiteral("--printer wants the printer's name"));
        }
        if (options.Target != btPrinter) {
            if (options.Output.isEmpty() || QFileInfo(options.Output).isDir())
                throw UsageError(QStringLiteral("give the name of the file to write"));
            options.Output = RequireOutputTarget(options.Output);
        }
        if (line.Has("pages"))
            parsePages(line.Value("pages"), options);
        if (line.Has("copies")) {
            bool ok = false;
            options.Copies = line.Value("copies").toInt(&ok);
            if (!ok || options.Copies < 1 || options.Copies > kMaxCopies)
                throw UsageError(QStringLiteral("--copies wants a number from 1 to %1").arg(kMaxCopies));
        }

        if (options.Target == btPrinter && !PrinterNames().contains(options.Output))
            throw InputError(
                QStringLiteral("--printer %1: no such printer (lpstat -p lists them)").arg(options.Output));

        const QString source = line.Positionals().at(0);
        std::unique_ptr<TDocumentPrinter> printer = makePrinter(session, document, source);
        options.OnPage = [&out](int page, int pages, int copy, int copies) {
            out << "page " << page << " of " << pages;
            if (copy > 0 && copies > 1)
                out << ", copy " << copy << " of " << copies;
            else if (copies > 1)
                out << ", " << copies << " copies";
            out << '\n';
            out.flush();
        };
        // The printer is opened here rather than through its preview: a batch run neither reads nor
        // writes the window's printer choices.
        if (!printer->Open())
            throw InputError(QStringLiteral("%1: cannot prepare the data for printing").arg(source));
        const TBatchPrintResult result = PrintReportDirectly(printer->Sestava, options);
        printer->Close();
        if (result.RangeOutside)
            throw InputError(QStringLiteral("--pages %1: the document has %2 page(s)")
                                 .arg(line.Value("pages"))
                                 .arg(result.PageCount));
        if (result.Code != ReportMessages::rrOK) {
            QTextStream(stderr) << "lintaro-cli print: " << target(options) << ": " << result.Message << '\n';
            return result.Code == ReportMessages::rrNoPrinter ? 2 : 1;
        }
        return 0;
    }

private:
    static QString target(const TBatchPrintOptions& options) {
        return options.Target == btPrinter ? QStringLiteral("printer ") + options.Output : options.Output;
    }

    static void parsePages(const QString& text, TBatchPrintOptions& options) {
        static const QRegularExpression pattern(QStringLiteral("^(\\d{1,6})(?:-(\\d{0,6}))?$"));
        const QRegularExpressionMatch m = pattern.match(text.trimmed());
        if (!m.hasMatch())
            throw UsageError(QStringLiteral("--pages wants FROM-TO, for example 2-3"));
        options.FirstPage = m.captured(1).toInt();
        options.LastPage = !m.hasCaptured(2)         ? options.FirstPage
                           : m.captured(2).isEmpty() ? 9999
                                                     : m.captured(2).toInt();
        if (options.FirstPage < 1 || options.LastPage < options.FirstPage)
            throw UsageError(QStringLiteral("--pages wants FROM-TO with 1 <= FROM <= TO"));
    }

    static std::unique_ptr<TDocumentPrinter> makePrinter(TSession& session, const QString& document,
                                                         const QString& source) {
        const bool material = document == QLatin1String("material");
        const QString suffix = QFileInfo(source).suffix().toUpper();
        if (material && suffix != QLatin1String("LNM"))
            throw UsageError(
                QStringLiteral("%1: the material document prints a material file (.LNM)").arg(source));
        if (!material && suffix != QLatin1String("LNO"))
            throw UsageError(QStringLiteral("%1: this document prints an order file (.LNO)").arg(source));
        if (material) {
            session.LoadMaterial(source);
            auto printer = std::make_unique<TMaterialPrinter>();
            printer->Material = &session.Material();
            return printer;
        }
        session.LoadOrder(source);
        if (document == QLatin1String("order")) {
            auto printer = std::make_unique<TOrderPrinter>();
            printer->Order = &session.Order();
            return printer;
        }
        if (document == QLatin1String("parts")) {
            auto printer = std::make_unique<TPartsPrinter>();
            printer->Order = &session.Order();
            return printer;
        }
        if (document == QLatin1String("setup"))
            return std::make_unique<TSetupPrinter>();
        if (document == QLatin1String("sheets") &&
            session.Order().Sheets()->CuttingSheets()->ItemCount() == 0)
            throw InputError(QStringLiteral("%1: the order has no calculated sheets").arg(source));
        session.WarnIfResultOutOfDate("print", source);
        auto printer = std::make_unique<TSheetsPrinter>();
        printer->Order = &session.Order();
        printer->Material = &session.Material();
        printer->SheetsPage = document == QLatin1String("sheets") ? 1 : 0;
        return printer;
    }
};

} // namespace

std::unique_ptr<TCommand> MakePrintCommand() {
    return std::make_unique<TPrintCommand>();
}

} // namespace lintaro::cli
