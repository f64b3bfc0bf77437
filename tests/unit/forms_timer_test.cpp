// Timers on the headless backend's virtual clock: ticks in time order, one handler at a time,
// restarts, and the late single tick after the clock jumped in a Sleep.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/Form.h"
#include "forms/Timer.h"
#include "forms/headless/HeadlessBackend.h"
#include "platform/fake/FakeWindowSystem.h"

namespace {

using forms::Form;
using forms::Timer;
using forms::headless::HeadlessBackend;

struct Tick {
  std::string timer;
  unsigned at;
  bool operator==(const Tick&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Tick& t) { return os << t.timer << "@" << t.at; }

class TimerTest : public ::testing::Test {
 protected:
  void Log(Timer& timer) {
    timer.Tick = [this, &timer] { ticks.push_back({timer.Name(), backend.Now()}); };
  }
  HeadlessBackend backend;
  Form form{backend, "frmTimers"};
  std::vector<Tick> ticks;
};

TEST_F(TimerTest, TicksComeInTimeOrderAndTiesGoByAge) {
  Timer slow(form, "slow", 50, true);
  Timer fast(form, "fast", 30, true);
  Log(slow);
  Log(fast);
  backend.Advance(150);
  const std::vector<Tick> expected = {{"fast", 30},  {"slow", 50},  {"fast", 60},  {"fast", 90},
                                      {"slow", 100}, {"fast", 120}, {"slow", 150}, {"fast", 150}};
  EXPECT_EQ(ticks, expected);
  EXPECT_EQ(backend.Now(), 150u);
}

TEST_F(TimerTest, AdvanceInSmallStepsGivesTheSameTicks) {
  Timer a(form, "a", 7, true);
  Log(a);
  for (int i = 0; i < 10; ++i) backend.Advance(3);
  ASSERT_EQ(ticks.size(), 4u);
  EXPECT_EQ(ticks.back(), (Tick{"a", 28}));
}

TEST_F(TimerTest, StoppedAndZeroIntervalTimersNeverTick) {
  Timer off(form, "off", 10, false);
  Timer zero(form, "zero", 0, true);
  Log(off);
  Log(zero);
  backend.Advance(1000);
  EXPECT_TRUE(ticks.empty());
  EXPECT_FALSE(zero.Running());
}

TEST_F(TimerTest, EnablingOrChangingTheIntervalRestartsTheCount) {
  Timer t(form, "t", 100, true);
  Log(t);
  backend.Advance(70);
  t.SetEnabled(true);  // already running: counts from 70 now
  backend.Advance(100);
  ASSERT_EQ(ticks.size(), 1u);
  EXPECT_EQ(ticks[0].at, 170u);
  t.SetInterval(20);
  backend.Advance(25);
  ASSERT_EQ(ticks.size(), 2u);
  EXPECT_EQ(ticks[1].at, 190u);
}

TEST_F(TimerTest, AHandlerStoppingAndStartingTimersIsObeyed) {
  Timer boss(form, "boss", 30, true);
  Timer worker(form, "worker", 20, true);
  Log(worker);
  boss.Tick = [&] {
    ticks.push_back({"boss", backend.Now()});
    worker.SetEnabled(!worker.Enabled());  // off at 30, on again at 60
    if (backend.Now() >= 60) boss.SetEnabled(false);
  };
  backend.Advance(100);
  const std::vector<Tick> expected = {
      {"worker", 20}, {"boss", 30}, {"boss", 60}, {"worker", 80}, {"worker", 100}};
  EXPECT_EQ(ticks, expected);
}

TEST_F(TimerTest, AHandlerRunsToItsEndBeforeItsTimerTicksAgain) {
  Timer outer(form, "outer", 10, true);
  Timer other(form, "other", 15, true);
  Log(other);
  int depth = 0, deepest = 0;
  outer.Tick = [&] {
    ++depth;
    deepest = std::max(deepest, depth);
    ticks.push_back({"outer", backend.Now()});
    // Lets messages run while the handler waits (a modal dialog would): the other timer
    // ticks meanwhile, this one does not come back into its own handler.
    if (ticks.size() == 1) backend.Advance(40);
    --depth;
  };
  backend.Advance(10);
  EXPECT_EQ(deepest, 1);
  const std::vector<Tick> expected = {{"outer", 10}, {"other", 15}, {"other", 30}, {"other", 45}};
  EXPECT_EQ(ticks, expected);
  // The outer timer's ticks while it was busy are dropped, as the message loop drops a timer
  // message the busy handler cannot take; its count went on meanwhile.
  backend.Advance(10);
  const std::vector<Tick> after = {{"outer", 60}, {"other", 60}};
  EXPECT_EQ(std::vector<Tick>(ticks.begin() + 4, ticks.end()), after);
}

TEST_F(TimerTest, DestroyingATimerInAnotherHandlerIsSafe) {
  auto victim = std::make_unique<Timer>(form, "victim", 10, true);
  Log(*victim);
  Timer killer(form, "killer", 10, true);
  killer.Tick = [&] { victim.reset(); };
  backend.Advance(30);  // the victim is older: it ticks once at 10, then is gone
  EXPECT_EQ(ticks, (std::vector<Tick>{{"victim", 10}}));
}

TEST(TimerOnDesktop, TheClockIsTheDesktopsAndASleepCoalescesLateTicks) {
  vd::fake::FakeWindowSystem desktop;
  HeadlessBackend backend(&desktop);
  Form form(backend, "frmSleepy");
  std::vector<Tick> ticks;
  Timer poll(form, "poll", 10, true);
  Timer slow(form, "slow", 100, true);
  bool slept = false;
  poll.Tick = [&] {
    ticks.push_back({"poll", backend.Now()});
    if (!slept) {
      slept = true;
      desktop.Sleep(500);  // the logic pauses: no tick may run during the pause
    }
  };
  slow.Tick = [&] { ticks.push_back({"slow", backend.Now()}); };
  backend.Advance(10);
  EXPECT_EQ(ticks, (std::vector<Tick>{{"poll", 10}}));
  EXPECT_EQ(backend.Now(), 510u);
  EXPECT_EQ(desktop.VirtualTimeMs(), backend.Now());

  backend.Advance(1);  // each timer that fell due during the pause ticks once
  EXPECT_EQ(ticks, (std::vector<Tick>{{"poll", 10}, {"poll", 510}, {"slow", 510}}));
  backend.Advance(9);  // and the next tick is a full interval after the late one
  EXPECT_EQ(ticks.back(), (Tick{"poll", 520}));
  EXPECT_EQ(ticks.size(), 4u);
}

TEST(TimerOnDesktop, DoEventsRunsDueTicksWithoutMovingTheClock) {
  vd::fake::FakeWindowSystem desktop;
  HeadlessBackend backend(&desktop);
  Form form(backend, "frmDoEvents");
  int polls = 0;
  Timer poll(form, "poll", 5, true);
  poll.Tick = [&] { ++polls; };
  backend.DoEvents();
  EXPECT_EQ(polls, 0);
  desktop.Sleep(50);
  backend.DoEvents();
  backend.DoEvents();  // already served: the next tick is due at 55
  EXPECT_EQ(polls, 1);
  EXPECT_EQ(backend.Now(), 50u);
}

}  // namespace
