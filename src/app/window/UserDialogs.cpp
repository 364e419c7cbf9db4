#include "app/window/UserDialogs.h"

#include "widgets/AboutBox.h"

#include <QApplication>
#include <QFileDialog>

namespace lintaro {

namespace {

QString runFileDialog(QWidget* parent, const TFileDialogRequest& request, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.title, QString(), request.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QMessageBox::StandardButton TQtUserDialogs::Ask(const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::Question, title, text, buttons, parent_);
    const int answer = box.exec();
    return answer == 0 ? QMessageBox::Cancel : static_cast<QMessageBox::StandardButton>(answer);
}

QString TQtUserDialogs::OpenFileName(const TFileDialogRequest& request) {
    return runFileDialog(parent_, request, QFileDialog::AcceptOpen);
}

QString TQtUserDialogs::SaveFileName(const TFileDialogRequest& request) {
    // The dialog itself asks before an existing file is overwritten.
    return runFileDialog(parent_, request, QFileDialog::AcceptSave);
}

void TQtUserDialogs::ShowError(const QString& text) {
    QMessageBox::critical(parent_, QApplication::applicationName(), text);
}

void TQtUserDialogs::ShowAbout() {
    const TAboutTexts texts = AboutTextsFromResources();
    ShowAboutBox(texts.title, texts.versionCaption, texts.buttonCaption, texts.notice, texts.note, parent_);
}

} // namespace lintaro
