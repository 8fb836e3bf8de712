// A timer of a form: while it is enabled and its interval is above 0, OnTimer runs each time the
// interval passes. Tests drive every timer by hand (TestDriver.h) instead of by the clock.
#pragma once

#include <functional>
#include <memory>

namespace platform {

class Timer {
  public:
    Timer();
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // Milliseconds; 0 stops the timer. Setting it starts the interval afresh.
    int Interval() const;
    void SetInterval(int milliseconds);
    // Enabled from the start, as a timer placed on a form; enabling starts the interval afresh.
    bool Enabled() const;
    void SetEnabled(bool enabled);

    std::function<void()> OnTimer;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

// The clock of every timer is the test's: timers no longer run by themselves, and
// AdvanceTimers moves the clock. Ends when the object goes.
class ManualTimers {
  public:
    ManualTimers();
    ~ManualTimers();
    ManualTimers(const ManualTimers&) = delete;
    ManualTimers& operator=(const ManualTimers&) = delete;
};

// Moves the test's clock on: each running timer fires once for every interval that passes.
void AdvanceTimers(int milliseconds);
// Fires a running timer once, as if its interval had just passed.
void StepTimer(Timer& timer);

} // namespace platform
