// Pictures of the main window for looking at its pages without a person at the screen:
//   lintaro-windowshot ORDER.LNO OUTDIR   writes OUTDIR/Order.png … OUTDIR/Setup.png, the window
// opened on the order as from the command line, then calculates and writes the Sheets page's
// parameters, sheet view and results as SheetsCalculated.png, SheetsView.png, SheetsResults.png,
// and the order's print preview and template designer as Preview.png and Designer.png.
#include "app/window/LNEAppForm.h"
#include "calc/Calculator.h"
#include "foundation/Program.h"
#include "model/Setup.h"
#include "platform/Keyboard.h"
#include "print/PrintHost.h"
#include "print/preview/PrintPreviewForm.h"
#include "print/preview/ReportDesigner.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

namespace {

// Shows the preview and the designer without waiting for a person, and keeps their pictures.
class ShotHost : public lintaro::TPrintHost {
public:
    explicit ShotHost(QDir out) : out_(std::move(out)) {}
    void Preview(lintaro::TSestava& report, int& printerIndex) override {
        lintaro::TPrintPreviewForm form;
        form.SetReport(&report, printerIndex);
        form.resize(1000, 860);
        form.show();
        QApplication::processEvents();
        form.grab().save(out_.filePath(QStringLiteral("Preview.png")));
    }
    void Design(lintaro::TSestava& report) override {
        lintaro::TReportDesigner designer(report);
        designer.resize(1200, 860);
        designer.show();
        QApplication::processEvents();
        designer.grab().save(out_.filePath(QStringLiteral("Designer.png")));
    }

private:
    QDir out_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 3) {
        QTextStream(stderr) << "usage: lintaro-windowshot ORDER.LNO OUTDIR\n";
        return 2;
    }
    lintaro::InitProgramValues();
    lintaro::InitProgramSetup();
    lintaro::InstallCalculator();
    lintaro::TLNEAppForm window(arguments[1]);
    window.resize(1000, 720);
    window.show();
    QApplication::processEvents();
    QDir().mkpath(arguments[2]);
    for (lintaro::TPage page : lintaro::kPages) {
        window.SwitchPage(page);
        QApplication::processEvents();
        window.grab().save(QDir(arguments[2]).filePath(lintaro::PageName(page) + QStringLiteral(".png")));
    }
    const QDir out(arguments[2]);
    window.RunCommand(QStringLiteral("SheetsParams"));
    window.RunCommand(QStringLiteral("SheetsStartStop"));
    QApplication::processEvents();
    window.grab().save(out.filePath(QStringLiteral("SheetsCalculated.png")));
    window.RunCommand(QStringLiteral("SheetsSheets"));
    QApplication::processEvents();
    window.grab().save(out.filePath(QStringLiteral("SheetsView.png")));
    window.RunCommand(QStringLiteral("SheetsResults"));
    QApplication::processEvents();
    window.grab().save(out.filePath(QStringLiteral("SheetsResults.png")));
    ShotHost host(out);
    lintaro::TScopedPrintHost scoped(&host);
    window.RunCommand(QStringLiteral("OrderPrint"));
    lintaro::ScopedKeyboardState shiftCtrl(true, true);
    window.RunCommand(QStringLiteral("OrderPrint"));
    return 0;
}
