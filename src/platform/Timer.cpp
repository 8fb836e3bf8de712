#include "platform/Timer.h"

#include <QTimer>

#include <algorithm>
#include <limits>
#include <vector>

namespace platform {
namespace {

bool g_manual = false;

// In the order the timers were made: timers due at the same moment fire in that order.
std::vector<Timer::Impl*>& Timers() {
    static std::vector<Timer::Impl*> timers;
    return timers;
}

} // namespace

struct Timer::Impl {
    Timer& self;
    QTimer clock;
    int interval = 0;
    bool enabled = true;
    // Milliseconds of the test's clock since the interval began.
    long long elapsed = 0;

    explicit Impl(Timer& owner) : self(owner) {
        QObject::connect(&clock, &QTimer::timeout, &clock, [this] { Fire(); });
    }

    bool Running() const { return enabled && interval > 0; }

    void Restart() {
        elapsed = 0;
        if (g_manual || !Running())
            clock.stop();
        else
            clock.start(interval);
    }

    void Fire() {
        if (auto h = self.OnTimer) h();
    }
};

Timer::Timer() : impl_(std::make_unique<Impl>(*this)) {
    Timers().push_back(impl_.get());
}
Timer::~Timer() {
    std::erase(Timers(), impl_.get());
}

int Timer::Interval() const {
    return impl_->interval;
}
void Timer::SetInterval(int milliseconds) {
    impl_->interval = std::max(0, milliseconds);
    impl_->Restart();
}
bool Timer::Enabled() const {
    return impl_->enabled;
}
void Timer::SetEnabled(bool enabled) {
    impl_->enabled = enabled;
    impl_->Restart();
}

ManualTimers::ManualTimers() {
    g_manual = true;
    for (Timer::Impl* t : Timers())
        t->Restart();
}
ManualTimers::~ManualTimers() {
    g_manual = false;
    for (Timer::Impl* t : Timers())
        t->Restart();
}

void AdvanceTimers(int milliseconds) {
    long long left = std::max(0, milliseconds);
    while (true) {
        // The next timer due; handlers may change or destroy any timer, so the search starts over
        // after every firing.
        Timer::Impl* next = nullptr;
        long long wait = std::numeric_limits<long long>::max();
        for (Timer::Impl* t : Timers())
            if (t->Running() && t->interval - t->elapsed < wait) {
                wait = t->interval - t->elapsed;
                next = t;
            }
        if (!next || wait > left) break;
        left -= wait;
        for (Timer::Impl* t : Timers())
            if (t->Running()) t->elapsed += wait;
        next->elapsed = 0;
        next->Fire();
    }
    for (Timer::Impl* t : Timers())
        if (t->Running()) t->elapsed += left;
}

void StepTimer(Timer& timer) {
    Timer::Impl* t = nullptr;
    for (Timer::Impl* candidate : Timers())
        if (&candidate->self == &timer) t = candidate;
    if (!t || !t->Running()) return;
    t->elapsed = 0;
    t->Fire();
}

} // namespace platform
