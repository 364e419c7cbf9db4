#include "platform/WebLinks.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

namespace lintaro {

namespace {
ScopedWebLinkRecorder* g_recorder = nullptr;
} // namespace

bool OpenWebLink(const QString& address) {
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty())
        return false;
    if (g_recorder) {
        g_recorder->opened_.append(trimmed);
        return true;
    }
    const QUrl url = QUrl::fromUserInput(trimmed);
    if (!url.isValid() || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    return QDesktopServices::openUrl(url);
}

ScopedWebLinkRecorder::ScopedWebLinkRecorder() : previous_(g_recorder) {
    g_recorder = this;
}

ScopedWebLinkRecorder::~ScopedWebLinkRecorder() {
    g_recorder = previous_;
}

} // namespace lintaro
