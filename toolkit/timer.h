// A timer: fires its Action after Period milliseconds, once (RunMode 1) or
// repeatedly (RunMode 2); RunMode 0 is off. It is armed when its run mode or
// period is set while the mode is not off.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "toolkit/object.h"

namespace tk {

struct TimerImpl;

class Timer : public Object {
  public:
    Timer();
    ~Timer() override;

    std::string ClassName() const override { return "Timer"; }
    void SetProperty(const plist::Entry& entry) override;

    std::int64_t Period() const { return period_; }
    void SetPeriod(std::int64_t ms);
    std::int64_t RunMode() const { return runMode_; }
    void SetRunMode(std::int64_t mode);
    bool IsArmed() const;
    void Reset();  // starts the period again

    using ActionHandler = std::function<void(Timer&)>;
    void BindAction(ActionHandler handler) { action_ = std::move(handler); }

  private:
    friend void FireTimer(Timer& timer);  // for tests (testing_qt.h)
    void Fire();                          // the period has passed
    void Arm();

    std::unique_ptr<TimerImpl> impl_;
    std::int64_t period_ = 1000;
    std::int64_t runMode_ = 0;
    ActionHandler action_;
};

}  // namespace tk
