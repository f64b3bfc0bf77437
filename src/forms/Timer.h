// A timer of a form: while enabled and its interval is above 0, its Tick event runs every
// Interval milliseconds, on the user-interface thread, one handler to its end before the next.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "forms/Backend.h"

namespace forms {

class Container;

class Timer {
 public:
  Timer(Container& parent, std::string name, unsigned intervalMs = 0, bool enabled = false);
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer();

  const std::string& Name() const { return name_; }
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);  // restarts the count
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);  // enabling a running timer restarts the count
  bool Running() const { return enabled_ && interval_ > 0; }

  std::function<void()> Tick;
  void RaiseTick();  // used by the backends: runs Tick unless a Tick is already running

 private:
  std::string name_;
  unsigned interval_;
  bool enabled_;
  bool inTick_ = false;
  std::unique_ptr<TimerPeer> peer_;
};

}  // namespace forms
