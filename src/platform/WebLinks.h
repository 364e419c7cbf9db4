#pragma once
// Opens a web address (a banner's link, the logo's, the maker's site) with the desktop's default
// handler. An empty address, or one the desktop cannot open, does nothing: links are decoration and
// never stop the program. Tests install a ScopedWebLinkRecorder, which collects the addresses instead.
#include <QString>
#include <QStringList>

namespace lintaro {

// True when the address was handed over.
bool OpenWebLink(const QString& address);

class ScopedWebLinkRecorder {
public:
    ScopedWebLinkRecorder();
    ~ScopedWebLinkRecorder();
    ScopedWebLinkRecorder(const ScopedWebLinkRecorder&) = delete;
    ScopedWebLinkRecorder& operator=(const ScopedWebLinkRecorder&) = delete;

    // The addresses opened while the recorder was installed, in order.
    const QStringList& Opened() const { return opened_; }

private:
    ScopedWebLinkRecorder* previous_;
    QStringList opened_;
    friend bool OpenWebLink(const QString& address);
};

} // namespace lintaro
