#pragma once
// Every question and file dialog of the main window goes through this interface, so that the
// window's commands run without a person: tests put in their own answers.
#include <QMessageBox>
#include <QString>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

namespace lintaro {

struct TFileDialogRequest {
    QString title;
    QString filter;
    QString initialName;
    QString defaultExtension; // without the dot
};

class TUserDialogs {
public:
    virtual ~TUserDialogs() = default;
    // A question with the question icon; returns the button chosen (Cancel when closed).
    virtual QMessageBox::StandardButton Ask(const QString& title, const QString& text,
                                            QMessageBox::StandardButtons buttons) = 0;
    // The chosen file, or empty when cancelled. The save dialog asks before overwriting.
    virtual QString OpenFileName(const TFileDialogRequest& request) = 0;
    virtual QString SaveFileName(const TFileDialogRequest& request) = 0;
    virtual void ShowError(const QString& text) = 0;
    virtual void ShowAbout() = 0;
};

// The platform's message boxes and file dialogs over the parent window.
class TQtUserDialogs : public TUserDialogs {
public:
    explicit TQtUserDialogs(QWidget* parent) : parent_(parent) {}
    QMessageBox::StandardButton Ask(const QString& title, const QString& text,
                                    QMessageBox::StandardButtons buttons) override;
    QString OpenFileName(const TFileDialogRequest& request) override;
    QString SaveFileName(const TFileDialogRequest& request) override;
    void ShowError(const QString& text) override;
    void ShowAbout() override;

private:
    QWidget* parent_;
};

} // namespace lintaro
