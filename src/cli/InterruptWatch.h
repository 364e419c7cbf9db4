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

    // For the tests of the batch tool: LINTARO_CLI_SIGNAL_AT_SHEET="N:INT,TERM" makes the process
    // send itself those signals as the search of result sheet N begins, so that a stop lands at the
    // same point on any machine however busy. Call it whenever a sheet's search begins, with the
    // number of sheets already finished; without the variable it does nothing.
    static void RaiseTestSignals(int finishedSheets);
};

} // namespace lintaro::cli
