#include "forms/Timer.h"

#include "forms/Control.h"

namespace forms {

Timer::Timer(Container& parent, std::string name, unsigned intervalMs, bool enabled)
    : name_(std::move(name)), interval_(intervalMs), enabled_(enabled) {
  peer_ = parent.GetBackend().CreateTimerPeer(*this);
  if (peer_) peer_->Changed();
}

Timer::~Timer() = default;

void Timer::SetInterval(unsigned ms) {
  interval_ = ms;
  if (peer_) peer_->Changed();
}

void Timer::SetEnabled(bool v) {
  enabled_ = v;
  if (peer_) peer_->Changed();
}

// A handler that lets messages run (a modal dialog, DoEvents) must not be entered again by
// its own timer.
void Timer::RaiseTick() {
  if (inTick_) return;
  auto handler = Tick;
  if (!handler) return;
  struct Guard {
    bool& flag;
    ~Guard() { flag = false; }
  } guard{inTick_};
  inTick_ = true;
  handler();
}

}  // namespace forms
