#pragma once
// Time as the cutting search reads it. The steady clock is the default; the virtual clock moves a
// fixed step at every search-node expansion, so a calculation gives the same plan on any machine
// (tests, the batch tool's --deterministic).
#include <chrono>

namespace lintaro {

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since an arbitrary fixed moment.
    virtual double Now() = 0;
    // Called once per search-node expansion.
    virtual void OnExpansion() {}
};

class SteadyClock : public Clock {
public:
    double Now() override {
        using namespace std::chrono;
        return duration<double>(steady_clock::now().time_since_epoch()).count();
    }
};

class VirtualClock : public Clock {
public:
    // expansionsPerSecond ≤ 0 keeps the time still until SetTime moves it.
    explicit VirtualClock(double expansionsPerSecond = 0)
        : step_(expansionsPerSecond > 0 ? 1.0 / expansionsPerSecond : 0) {}
    double Now() override { return now_; }
    void OnExpansion() override { now_ += step_; }
    void SetTime(double seconds) { now_ = seconds; }
    void Advance(double seconds) { now_ += seconds; }

private:
    double step_;
    double now_ = 0;
};

// The clock of the process: the steady one unless another is installed (not owned).
Clock& CurrentClock();
void SetCurrentClock(Clock* clock);

} // namespace lintaro
