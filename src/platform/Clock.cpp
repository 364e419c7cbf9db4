#include "platform/Clock.h"

namespace lintaro {

namespace {
Clock* g_clock = nullptr;
}

Clock& CurrentClock() {
    static SteadyClock steady;
    return g_clock ? *g_clock : steady;
}

void SetCurrentClock(Clock* clock) {
    g_clock = clock;
}

} // namespace lintaro
