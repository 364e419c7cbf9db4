#pragma once
// The progress of a running report as a small modal dialog with "Přerušit".
#include "reports/ReportProgress.h"

#include <memory>

QT_BEGIN_NAMESPACE
class QProgressDialog;
class QWidget;
QT_END_NAMESPACE

namespace lintaro {

class TProgressDialog : public TReportProgress {
public:
    explicit TProgressDialog(QWidget* parent);
    ~TProgressDialog() override;
    void Show(const QString& message, bool cancellable) override;
    bool Cancelled() override;
    void Hide() override;
    void Yield() override;

private:
    std::unique_ptr<QProgressDialog> dialog_;
};

} // namespace lintaro
