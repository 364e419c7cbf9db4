#pragma once
// What a running report tells the person waiting for it, and how that person cancels it. The window
// shows this as a dialog with "Přerušit"; the batch tool writes the messages as text.
#include "reports/ReportMessages.h"
#include <QString>
#include <cstdio>

namespace lintaro {

class TReportProgress {
public:
    virtual ~TReportProgress() = default;
    // A new message; cancellable says whether "Přerušit" is offered.
    virtual void Show(const QString& message, bool cancellable) = 0;
    // True once the person asked to stop; the run checks it after every section and page.
    virtual bool Cancelled() = 0;
    virtual void Hide() {}
    // Called after every section and page of a run and every printed page: the window's progress
    // lets its event loop run here, so that "Přerušit" can be pressed while the report builds.
    virtual void Yield() {}
};

// Writes a line when the kind of message changes (a record counter alone does not make a new line)
// and the last message when hidden; never cancelled.
class TTextProgress : public TReportProgress {
public:
    explicit TTextProgress(std::FILE* out = stderr) : out_(out) {}
    void Show(const QString& message, bool cancellable) override;
    bool Cancelled() override { return false; }
    void Hide() override;

private:
    std::FILE* out_;
    QString kind_, last_;
    bool lastWritten_ = true;
};

// The progress messages of the engine.
namespace ProgressMessages {
inline QString Preparing() {
    return ReportMessages::EngineText("ProgressPreparing", QStringLiteral("Připravuji tisk položky číslo: "));
}
inline QString Sending() {
    return ReportMessages::EngineText("ProgressSending", QStringLiteral("Odesílám data do tiskárny ..."));
}
inline QString CancelButton() {
    return ReportMessages::EngineText("ProgressCancelButton", QStringLiteral("Přerušit"));
}
} // namespace ProgressMessages

} // namespace lintaro
