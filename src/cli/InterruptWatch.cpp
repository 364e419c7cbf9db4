#include "cli/InterruptWatch.h"

#include <QByteArray>
#include <QList>

#include <atomic>
#include <csignal>

namespace lintaro::cli {

namespace {

// Lock-free, so the signal handler may touch it.
std::atomic<int> g_signals = 0;
struct sigaction g_oldInt, g_oldTerm;

void onSignal(int signal) {
    if (g_signals.fetch_add(1) > 0) {
        // The second signal: the user means it; end now, with the signal's own status.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
}

} // namespace

TInterruptWatch::TInterruptWatch() {
    g_signals = 0;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &g_oldInt);
    sigaction(SIGTERM, &action, &g_oldTerm);
}

TInterruptWatch::~TInterruptWatch() {
    sigaction(SIGINT, &g_oldInt, nullptr);
    sigaction(SIGTERM, &g_oldTerm, nullptr);
}

bool TInterruptWatch::Pending() {
    return g_signals.load() > 0;
}

void TInterruptWatch::RaiseTestSignals(int finishedSheets) {
    static const QByteArray plan = qgetenv("LINTARO_CLI_SIGNAL_AT_SHEET");
    if (plan.isEmpty())
        return;
    const QList<QByteArray> parts = plan.split(':');
    if (parts.size() != 2 || parts[0].toInt() != finishedSheets + 1)
        return;
    for (const QByteArray& name : parts[1].split(','))
        std::raise(name == "TERM" ? SIGTERM : SIGINT);
}

} // namespace lintaro::cli
