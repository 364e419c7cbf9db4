#pragma once
// What the document printers show in the window: the print preview, and with Shift and Ctrl the
// template designer.
#include "print/PrintHost.h"

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

namespace lintaro {

class TWindowPrintHost : public TPrintHost {
public:
    explicit TWindowPrintHost(QWidget* window) : window_(window) {}
    void Preview(TSestava& report, int& printerIndex) override;
    void Design(TSestava& report) override;

private:
    QWidget* window_;
};

} // namespace lintaro
