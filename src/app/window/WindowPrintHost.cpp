#include "app/window/WindowPrintHost.h"

#include "print/preview/PrintPreviewForm.h"
#include "print/preview/ReportDesigner.h"

namespace lintaro {

void TWindowPrintHost::Preview(TSestava& report, int& printerIndex) {
    TPrintPreviewForm form(window_);
    form.SetReport(&report, printerIndex);
    form.exec();
    printerIndex = form.PrinterIndex();
}

void TWindowPrintHost::Design(TSestava& report) {
    TReportDesigner designer(report, window_);
    designer.setWindowState(designer.windowState() | Qt::WindowMaximized);
    designer.exec();
}

} // namespace lintaro
