#pragma once
// Ctrl+C and SIGTERM during a calculation: the first signal asks the running calculation to stop,
// as the window's stop button does, so that the sheets found so far are kept and saved; a second
// signal ends the process at once. The handler only counts; the calculation's own refresh calls
// look at Pending() between search steps. One watch at a time; the handlers are restored when it
// goes.
namespace lintaro::cli {

class TInterruptWatch {
public:
    TInterruptWatch();
    ~TInterruptWatch();
    TInterruptWatch(const TInterruptWatch&) = delete;
    TInterruptWatch& operator=(const TInterruptWatch&) = delete;

    // True once a signal came while the watch was installed.
    static bool Pending();
};

} // namespace lintaro::cli
