#include "toolkit/timer.h"

#include <QTimer>
#include <algorithm>

#include "toolkit/properties.h"
#include "toolkit/runtime.h"

namespace tk {

struct TimerImpl {
    QTimer timer;
};

Timer::Timer() : impl_(std::make_unique<TimerImpl>()) {
    // Never before its period: Qt's default timers may fire 5% early.
    impl_->timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&impl_->timer, &QTimer::timeout, [this] { Fire(); });
}

Timer::~Timer() = default;

void Timer::SetProperty(const plist::Entry& entry) {
    CheckMainThread("setting a timer's property");
    using E = const plist::Entry&;
    static constexpr auto kRows = Join(std::to_array<Setter<Timer>>({
        {"Period", [](Timer& t, E e) { t.SetPeriod(IntegerOf(e)); }},
        {"RunMode", [](Timer& t, E e) { t.SetRunMode(IntegerOf(e)); }},
    }));
    Apply(*this, kRows, entry);
}

void Timer::SetPeriod(std::int64_t ms) {
    CheckMainThread("setting a timer's period");
    period_ = std::clamp<std::int64_t>(ms, 0, 24LL * 3600 * 1000);
    if (runMode_ != 0) Arm();
}

void Timer::SetRunMode(std::int64_t mode) {
    CheckMainThread("setting a timer's run mode");
    runMode_ = std::clamp<std::int64_t>(mode, 0, 2);
    Arm();
}

bool Timer::IsArmed() const {
    return impl_->timer.isActive();
}

void Timer::Reset() {
    CheckMainThread("resetting a timer");
    if (runMode_ != 0) Arm();
}

void Timer::Arm() {
    if (runMode_ == 0) {
        impl_->timer.stop();
        return;
    }
    impl_->timer.setSingleShot(runMode_ == 1);
    impl_->timer.start(static_cast<int>(period_));
}

void FireTimer(Timer& timer) {
    timer.Fire();
}

void Timer::Fire() {
    if (runMode_ == 1) runMode_ = 0;  // a single shot has been used
    if (action_) CallGuarded([this] { action_(*this); });
}

}  // namespace tk
