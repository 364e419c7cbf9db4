// lintaro-cli draw: the whole picture of one result sheet, or of every sheet, as PDF, PNG or SVG.
#include "cli/Command.h"
#include "cli/OutputTarget.h"
#include "cli/SheetPdf.h"

#include "calc/SheetDrawing.h"
#include "model/CuttingSheet.h"
#include "model/Order.h"
#include "model/Setup.h"
#include "model/Sheets.h"

#include <QFileInfo>

namespace lintaro::cli {

namespace {

// The window's zoom range; files are drawn larger than the window's default, for print.
constexpr int kMinZoom = 100;
constexpr int kMaxZoom = 600;
constexpr int kFileZoom = 300;

class TDrawCommand : public TCommand {
public:
    QString Name() const override { return QStringLiteral("draw"); }
    QList<TOptionSpec> Options() const override {
        return CommonOptions() << TOptionSpec{"sheet", true} << TOptionSpec{"all", false}
                               << TOptionSpec{"zoom", true} << TOptionSpec{"captions", false};
    }
    QString Synopsis() const override {
        return QStringLiteral(
            "draw ORDER.LNO (--sheet N | --all) [--zoom N] [--captions] OUT.pdf|OUT.png|OUT.svg");
    }
    QString Help() const override {
        return QStringLiteral(
            "Draws result sheets of a calculated order as the window shows them: the stock thumbnail,\n"
            "the parameters and the scheme with every placed part and rest. The file name's\n"
            "extension chooses the format: .pdf (one A4 page per sheet), .png or .svg.\n"
            "\n"
            "  --sheet N    the result sheet N (1 is the first)\n"
            "  --all        every result sheet: pages of one PDF, or NAME-1.png, NAME-2.png, ...\n"
            "  --zoom N     height of the drawn sheet in pixels, 100 to 600 (default 300)\n"
            "  --captions   part names on the parts where they fit\n"
            "\n"
            "Examples:\n"
            "  lintaro-cli draw Kitchen-result.LNO --all --captions kitchen.pdf\n"
            "  lintaro-cli draw Kitchen-result.LNO --sheet 2 --zoom 600 sheet2.png\n");
    }

    int Run(TSession& session, const TCommandLine& line, QTextStream& out) override {
        RequirePositionals(line, 2, *this);
        if (line.Has("sheet") == line.Has("all"))
            throw UsageError(QStringLiteral("give either --sheet N or --all"));
        QString target = line.Positionals().at(1);
        const QString suffix = QFileInfo(target).suffix().toLower();
        if (suffix != QLatin1String("svg") && suffix != QLatin1String("png") &&
            suffix != QLatin1String("pdf"))
            throw UsageError(
                QStringLiteral("%1: unknown drawing format; the name must end in .pdf, .png or .svg")
                    .arg(target));
        int zoom = kFileZoom;
        if (line.Has("zoom")) {
            bool ok = false;
            zoom = line.Value("zoom").toInt(&ok);
            if (!ok || zoom < kMinZoom || zoom > kMaxZoom)
                throw UsageError(
                    QStringLiteral("--zoom wants a number from %1 to %2").arg(kMinZoom).arg(kMaxZoom));
        }
        target = RequireOutputTarget(target);

        const QString source = line.Positionals().at(0);
        session.LoadOrder(source);
        const TCuttingSheetList* sheets = session.Order().Sheets()->CuttingSheets();
        if (sheets->ItemCount() == 0)
            throw InputError(QStringLiteral("%1: the order has no calculated sheets").arg(source));
        session.WarnIfResultOutOfDate("draw", source);
        QList<int> indexes;
        if (line.Has("all")) {
            for (int i = 0; i < sheets->ItemCount(); ++i)
                indexes << i;
        } else {
            bool ok = false;
            const int n = line.Value("sheet").toInt(&ok);
            if (!ok || n < 1 || n > sheets->ItemCount())
                throw UsageError(
                    QStringLiteral("--sheet wants a number from 1 to %1").arg(sheets->ItemCount()));
            indexes << n - 1;
        }
        // Drawn with the settings of this run only; the settings file is not saved.
        session.Setup().SetSheetsZoom(zoom);
        if (line.Has("captions"))
            session.Setup().SetSheetsShowCaptionsOnParts(true);

        QString error;
        if (suffix == QLatin1String("pdf")) {
            QList<QPicture> pictures;
            for (int i : indexes)
                pictures << GetImage(*sheets->Sheet(i));
            if (!WriteSheetsPdf(pictures, target, session.Order().Caption(), &error))
                return saveFailed(target, error);
            out << target << '\n';
            return 0;
        }
        for (int i : indexes) {
            QString path = target;
            if (line.Has("all")) {
                const QFileInfo info(target);
                path = info.path() + u'/' + info.completeBaseName() + QStringLiteral("-%1.").arg(i + 1) +
                       info.suffix();
            }
            if (line.Has("all"))
                path = RequireOutputTarget(path);
            if (!WriteSheetPicture(GetImage(*sheets->Sheet(i)), path, &error))
                return saveFailed(path, error);
            out << path << '\n';
        }
        return 0;
    }

private:
    static int saveFailed(const QString& path, const QString& error) {
        QTextStream(stderr) << "lintaro-cli draw: cannot save " << WithFileName(path, error) << '\n';
        return 1;
    }
};
} // namespace

std::unique_ptr<TCommand> MakeDrawCommand() {
    return std::make_unique<TDrawCommand>();
}

} // namespace lintaro::cli
