#include "print/preview/ProgressDialog.h"

#include <QApplication>
#include <QProgressDialog>

namespace lintaro {

TProgressDialog::TProgressDialog(QWidget* parent) : dialog_(std::make_unique<QProgressDialog>(parent)) {
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setRange(0, 0);
    dialog_->setMinimumDuration(300);
    dialog_->setCancelButtonText(ProgressMessages::CancelButton());
    dialog_->setAutoReset(false);
    dialog_->setAutoClose(false);
}

TProgressDialog::~TProgressDialog() = default;

void TProgressDialog::Show(const QString& message, bool cancellable) {
    dialog_->setLabelText(message);
    dialog_->setCancelButtonText(cancellable ? ProgressMessages::CancelButton() : QString());
    // Keeps the dialog painted and its button working while the report runs on this thread.
    QApplication::processEvents();
}

bool TProgressDialog::Cancelled() {
    QApplication::processEvents();
    return dialog_->wasCanceled();
}

void TProgressDialog::Yield() {
    QApplication::processEvents();
}

void TProgressDialog::Hide() {
    dialog_->reset();
    dialog_->hide();
}

} // namespace lintaro
