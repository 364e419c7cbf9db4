// lintaro-cli draw: the whole picture of one result sheet, or of every sheet, as SVG or PNG.
#include "cli/Command.h"

#include "calc/SheetDrawing.h"
#include "model/CuttingSheet.h"
#include "model/Order.h"
#include "model/Sheets.h"

#include <QDir>
#include <QFileInfo>

namespace lintaro::cli {

namespace {
const QString kUsage = QStringLiteral("draw ORDER.LNO (--sheet N | --all) OUT.svg|OUT.png");

class TDrawCommand : public TCommand {
public:
    QString Name() const override { return QStringLiteral("draw"); }
    QList<TOptionSpec> Options() const override {
        return CommonOptions() << TOptionSpec{"sheet", true} << TOptionSpec{"all", false};
    }

    int Run(TSession& session, const TCommandLine& line, QTextStream& out) override {
        RequirePositionals(line, 2, kUsage);
        if (line.Has("sheet") == line.Has("all"))
            throw UsageError(QStringLiteral("usage: lintaro-cli %1").arg(kUsage));
        const QString target = line.Positionals().at(1);
        const QString suffix = QFileInfo(target).suffix().toLower();
        if (suffix != QLatin1String("svg") && suffix != QLatin1String("png"))
            throw UsageError(QStringLiteral("%1: the picture must be .svg or .png").arg(target));
        if (!QFileInfo(target).absoluteDir().exists())
            throw InputError(QStringLiteral("%1: the folder does not exist").arg(target));

        session.LoadOrder(line.Positionals().at(0));
        const TCuttingSheetList* sheets = session.Order().Sheets()->CuttingSheets();
        if (sheets->ItemCount() == 0)
            throw InputError(
                QStringLiteral("%1: the order has no calculated sheets").arg(line.Positionals().at(0)));

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
        for (int i : indexes) {
            QString path = target;
            if (line.Has("all")) {
                const QFileInfo info(target);
                path = info.path() + u'/' + info.completeBaseName() + QStringLiteral("-%1.").arg(i + 1) +
                       info.suffix();
            }
            QString error;
            if (!WriteSheetPicture(GetImage(*sheets->Sheet(i)), path, &error)) {
                QTextStream(stderr) << path << ": " << error << '\n';
                return 1;
            }
            out << path << '\n';
        }
        return 0;
    }
};
} // namespace

std::unique_ptr<TCommand> MakeDrawCommand() {
    return std::make_unique<TDrawCommand>();
}

} // namespace lintaro::cli
