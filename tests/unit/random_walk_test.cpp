// A seeded random walk over a whole program on the fake desktop: windows of another
// application open, close, change captions and come to the front; the user switches desktops
// by hotkey and cell click, drags and clicks miniatures, uses every window-menu command
// (answering the Remove question each way, sometimes after the window closed), accepts or
// refuses offered windows and changes the grid and the switching options; time passes. After
// every step: each managed window is on one desktop of the grid, visible exactly when that
// desktop is shown or it is on all desktops (the summoned window and one just marked or
// unmarked aside until the next switch), with a shown miniature of its own, and nothing kept of
// a forgotten window; every hidden window is managed and named in the record of hidden
// windows. At the exit every window is shown and the record gone. The walk is the same on
// every run; VD_WALK_SEED chooses another.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "ProgramFixture.h"
#include "dialogs/AddWindowPrompt.h"
#include "options/OptionsDialog.h"
#include "settings/Hotkeys.h"

namespace vd::testing {
namespace {

enum Action {
  kOpen,       // a: caption, b: place and size, c: bit 0 no border (offered), bit 1 to front
  kClose,      // a: which window of the application
  kCaption,    // a: which window, b: the new caption
  kFront,      // a: which shown window comes to the front
  kHotkey,     // a: which hotkey (a desktop's, one beyond the grid, hide/unhide, panic)
  kCellClick,  // a: which cell, b: bit 0 right button
  kDrag,       // a: which miniature, b: target cell (0: outside the grid), c: pixels moved
  kClick,      // a: which miniature
  kMenu,       // a: which miniature, b: which command, c: the answer to a question
  kOptions,    // a: columns, b: rows, c: bits toggle animation, auto-hide; cancel
  kOffer,      // a: bit 0 accept, bit 1 also ignore; pressed only when an offer stands
  kTime,       // a: milliseconds
};
// How many of every 100 steps are of each kind, in the order above.
constexpr int kWeights[] = {10, 6, 6, 10, 10, 8, 8, 5, 15, 3, 3, 16};

struct Step {
  Action action = kTime;
  uint32_t a = 0, b = 0, c = 0;
};

class RandomWalk : public ProgramFixture {
 protected:
  void SetUp() override {
    backend->onModal = [this](forms::Form& form) { Answer(form); };
    backend->onPopup = [this](forms::Form&, forms::MenuItem& menu, float, float) {
      return choose_ ? choose_(menu) : nullptr;
    };
    for (uint32_t i = 0; i < 4; ++i) Open(Caption(5), Place(i * 977), false);
    started_ = StartWith("[SETUP]\r\ncolumns=3\r\nrows=2\r\nwidth=30\r\nheight=20\r\n");
  }

  // No library distribution: a seed means the same walk on every system.
  Step Draw(std::mt19937_64& random) {
    int pick = static_cast<int>(random() % 100), kind = 0;
    while (pick >= kWeights[kind]) pick -= kWeights[kind++];
    Step s{static_cast<Action>(kind), static_cast<uint32_t>(random()),
           static_cast<uint32_t>(random()), static_cast<uint32_t>(random())};
    if (s.action == kTime) s.a %= 1001;
    return s;
  }

  // Runs one step; the empty text, or the promise it broke.
  std::string Apply(const Step& s) {
    fake.ClearCalls();  // the fake records every call: a long walk must not keep them
    step_ = s;
    PagerWindow& p = Pager();
    switch (s.action) {
      case kOpen:
        Pick(0, false);           // forgets the windows that closed
        if (apps_.size() < 24) {  // a few dozen windows at most, as users keep
          const Hwnd hwnd = Open(Caption(s.a), Place(s.b), (s.c & 1) != 0);
          if (s.c & 2) fake.Activate(hwnd);
        }
        break;
      case kClose:
        if (Hwnd hwnd = Pick(s.a, false)) fake.DestroyWindow(hwnd);
        break;
      case kCaption:
        if (Hwnd hwnd = Pick(s.a, false)) fake.SetCaption(hwnd, Caption(s.b));
        break;
      case kFront:
        if (Hwnd hwnd = Pick(s.a, true)) fake.Activate(hwnd);
        break;
      case kHotkey:
        PressHotkey(s.a);
        break;
      case kCellClick:
        p.cells(1 + static_cast<int>(s.a % static_cast<uint32_t>(p.Desktops().Count())))
            .RaiseMouseUp((s.b & 1) ? forms::kRightButton : forms::kLeftButton, 0, 10, 10);
        break;
      case kDrag:
        Drag(s);
        break;
      case kClick:
      case kMenu:
        if (forms::PictureBox* miniature = Miniature(s.a)) {
          const int button = s.action == kClick ? forms::kLeftButton : forms::kRightButton;
          if (s.action == kMenu) choose_ = [this](forms::MenuItem& menu) { return Choose(menu); };
          miniature->RaiseMouseDown(button, 0, 30, 30);
          miniature->RaiseMouseUp(button, 0, 30, 30);
          choose_ = nullptr;
        }
        break;
      case kOptions:
        choose_ = [&p](forms::MenuItem&) { return &p.optionsEntry; };
        p.menuButton.RaiseClick();
        choose_ = nullptr;
        break;
      case kOffer:
        if (p.offerButton.Visible()) p.offerButton.RaiseClick();
        break;
      case kTime:
        backend->Advance(s.a);
        break;
    }
    return Broken(s.action == kTime && s.a >= 100);
  }

  static Rect Place(uint32_t b) {
    const int left = static_cast<int>(b % 1500) - 150,
              top = static_cast<int>((b >> 11) % 1100) - 50;
    return {left, top, left + 60 + static_cast<int>((b >> 21) % 900),
            top + 60 + static_cast<int>((b >> 26) % 700)};
  }
  std::string Caption(uint32_t a) {
    const std::string n = std::to_string(++opened_);
    switch (a % 10) {
      case 0:
        return "";
      case 1:
        return "Editor - notes.txt";  // the same caption on several windows
      case 2:
        return n + std::string(10000 - n.size(), 'x');
      case 3:
        return "Caf\xe9 \xc4\xd6\xdc \x80\xff " + n;  // another code page
      case 4:
        return "Open";  // a built-in entry of the ignore list
      default:
        return "Window " + n;
    }
  }
  Hwnd Open(const std::string& caption, Rect rect, bool noBorder) {
    fake::WindowTraits traits;
    traits.caption = caption;
    traits.rect = rect;
    if (noBorder) traits.style = WS_VISIBLE;
    apps_.push_back(fake.CreateWindow(traits));
    return apps_.back();
  }
  // The a-th living window of the application (only shown ones when asked), or 0.
  Hwnd Pick(uint32_t a, bool shownOnly) {
    std::erase_if(apps_, [this](Hwnd h) { return !fake.Exists(h); });
    std::vector<Hwnd> candidates;
    for (Hwnd h : apps_) {
      if (!shownOnly || fake.IsWindowVisible(h)) candidates.push_back(h);
    }
    return candidates.empty() ? 0 : candidates[a % candidates.size()];
  }
  // The miniature of the a-th managed window, or nullptr.
  forms::PictureBox* Miniature(uint32_t a) {
    const std::vector<Hwnd> windows = Pager().Table.Handles();
    if (windows.empty()) return nullptr;
    const int v = Pager().MiniatureOf(windows[a % windows.size()]);
    return v > 0 && Pager().miniatures.Exists(v) ? &Pager().miniatures(v) : nullptr;
  }

  void PressHotkey(uint32_t a) {
    int id = 1 + static_cast<int>(a % static_cast<uint32_t>(Pager().Desktops().Count() + 1));
    if (a % 23 == 0) id = Hotkeys::kHideHotkeyId;
    if (a % 29 == 0) id = Hotkeys::kPanicHotkeyId;
    if (const auto held = program->hotkeys.Held(id)) {
      fake.PressHotkey(Hotkeys::ModifierFlags[static_cast<size_t>(held->modifier)],
                       Hotkeys::KeyCodes[static_cast<size_t>(held->key)]);
    }
  }

  // The hit test notes the cell under the cursor (or none) before the drop.
  void Drag(const Step& s) {
    if (!Miniature(s.a)) return;
    const int target =
        static_cast<int>(s.b % static_cast<uint32_t>(Pager().Desktops().Count() + 1));
    Rect pager;
    fake.GetWindowRect(Pager().hWnd(), &pager);
    Point cursor{0, 0};
    if (target >= 1) {
      const forms::PictureBox& cell = Pager().cells(target);
      cursor = {pager.left + static_cast<int>(cell.Left() + cell.Width() / 2),
                pager.top + static_cast<int>(cell.Top() + cell.Height() / 2)};
    }
    fake.SetCursor(cursor);
    backend->Advance(100);
    forms::PictureBox* miniature = Miniature(s.a);  // the tick may have closed or moved things
    if (!miniature) return;
    const float travel = 15.0f * static_cast<float>(1 + s.c % 60);
    miniature->RaiseMouseDown(forms::kLeftButton, 0, 45, 45);
    miniature->RaiseMouseMove(forms::kLeftButton, 0, 45 + travel, 45);
    miniature->RaiseMouseUp(forms::kLeftButton, 0, 45 + travel, 45);
  }

  // One of the window menu's enabled commands, or none.
  forms::MenuItem* Choose(forms::MenuItem& menu) {
    WindowMenu& m = Pager().windowMenu;
    std::vector<forms::MenuItem*> entries;
    auto offer = [&](forms::MenuItem& entry) {
      if (entry.Visible() && entry.Enabled() && !entry.IsSeparator()) entries.push_back(&entry);
    };
    for (forms::MenuItem* entry : {&m.summonEntry, &m.showOnAllEntry, &m.onTopEntry, &m.opaqueEntry,
                                   &m.highTransparencyEntry, &m.mediumTransparencyEntry,
                                   &m.lowTransparencyEntry, &m.removeEntry}) {
      offer(*entry);
    }
    for (int i : m.moveToEntries.Indexes()) {
      if (i > 0 && m.moveToEntry.Visible() && m.moveToEntry.Enabled()) offer(m.moveToEntries(i));
    }
    for (int i : m.windowListEntries.Indexes()) {
      if (i > 0) offer(m.windowListEntries(i));
    }
    if (&menu != &m.popup || entries.empty() || step_.b % 20 == 0) return nullptr;
    forms::MenuItem* chosen = entries[step_.b % entries.size()];
    if (chosen == &m.showOnAllEntry) {
      exempt_.insert(Pager().Gestures().Selected());
      exemptDesktop_ = Pager().Desktops().Current();
    }
    return chosen;
  }

  // The user at a modal dialog, as the current step says.
  void Answer(forms::Form& form) {
    const Step& s = step_;
    auto retype = [](forms::TextBox& field, uint32_t value) {
      field.RaiseGotFocus();
      for (char c : std::to_string(value)) field.TypeChar(c);
    };
    if (auto* box = dynamic_cast<MessageDialog*>(&form)) {
      // The Remove question stays open a while: timers run, the window may close meanwhile.
      if (box->titleLabel.Caption() == "Remove Window") {
        if (s.c & 4) backend->Advance((s.c >> 8) % 500);
        const Hwnd selected = Pager().Gestures().Selected();
        if ((s.c & 8) && fake.Exists(selected)) fake.DestroyWindow(selected);
      }
      std::vector<forms::Button*> buttons;
      for (int i = 0; i <= 2; ++i) {
        if (box->answerButtons.Exists(i) && box->answerButtons(i).Visible()) {
          buttons.push_back(&box->answerButtons(i));
        }
      }
      if (!buttons.empty()) buttons[s.c % buttons.size()]->RaiseClick();
    } else if (auto* options = dynamic_cast<OptionsDialog*>(&form)) {
      retype(options->application.columnsField,
             s.a % 16 == 0 ? 1 + (s.a >> 4) % 9 : 1 + (s.a >> 4) % 4);
      retype(options->application.rowsField,
             s.b % 16 == 0 ? 1 + (s.b >> 4) % 9 : 1 + (s.b >> 4) % 3);
      for (auto [bit, box] : {std::pair{1u, &options->others.animateBox},
                              std::pair{2u, &options->others.autoHideBox}}) {
        if (s.c & bit) box->SetValue(box->Checked() ? 0 : 1);
      }
      (s.c % 11 == 0 ? options->cancelButton : options->okButton).RaiseClick();
    } else if (auto* prompt = dynamic_cast<AddWindowPrompt*>(&form)) {
      prompt->ignoreBox.SetValue((s.a & 2) ? 1 : 0);
      ((s.a & 1) ? prompt->yesButton : prompt->noButton).RaiseClick();
    }
  }

  // The promises; `ticked`: at least 100 ms have passed in this step.
  std::string Broken(bool ticked) {
    PagerWindow& p = Pager();
    const int count = p.Desktops().Count(), current = p.Desktops().Current();
    if (count < 1 || count > 81 || current < 1 || current > count) {
      return "desktop " + std::to_string(current) + " of " + std::to_string(count);
    }
    if (exemptDesktop_ != current) exempt_.clear();
    std::set<int> miniatures;
    for (const ManagedWindow& w : p.Table) {
      const std::string window = "window " + std::to_string(w.handle) + " ";
      if (w.desktop < 1 || w.desktop > count) return window + "is on no desktop of the grid";
      const int v = w.miniature;
      if (v < 1 || !p.miniatures.Exists(v) || !p.miniatures(v).Visible() ||
          !miniatures.insert(v).second) {
        return window + "has no shown miniature of its own";
      }
      if (!fake.Exists(w.handle) || w.handle == p.Tracker().SummonedWindow() ||
          exempt_.count(w.handle)) {
        continue;
      }
      if (fake.IsWindowVisible(w.handle) != (w.desktop == current || w.showAll)) {
        return window + "is shown when it should be hidden, or hidden when it should be shown";
      }
    }
    // A forgotten window's miniature and picture go at the tick after the one that forgot it,
    // so none is still there one tick of the pager's timer (100 ms) later.
    std::set<int> leftovers;
    for (int i : p.miniatures.Indexes()) {
      if (i > 0 && !miniatures.count(i)) {
        if (p.miniatures(i).Visible()) return "a miniature is shown without its window's row";
        leftovers.insert(i);
      }
    }
    for (int i : p.Miniatures().Pictures().Indexes()) {
      if (!miniatures.count(i)) leftovers.insert(i);
    }
    if (ticked) {
      for (int i : leftovers) {
        if (leftovers_.count(i)) return "a forgotten window's miniature or picture stays loaded";
      }
      leftovers_ = std::move(leftovers);
    }
    const std::string record = ReadFile("hidden.list");
    for (Hwnd hwnd : apps_) {
      if (!fake.Exists(hwnd) || fake.IsWindowVisible(hwnd)) continue;
      if (!p.IsManaged(hwnd)) return "window " + std::to_string(hwnd) + " is hidden, unmanaged";
      if (record.find(std::to_string(hwnd) + " ") == std::string::npos) {
        return "window " + std::to_string(hwnd) + " is hidden but not in the record";
      }
    }
    return {};
  }

  bool started_ = false;
  std::vector<Hwnd> apps_;  // the application's windows, in the order they opened
  size_t opened_ = 0;
  Step step_;  // the step a modal dialog or a popup menu is answered for
  std::function<forms::MenuItem*(forms::MenuItem&)> choose_;
  std::set<int> leftovers_;  // miniatures and pictures without a row at the last tick
  std::set<Hwnd> exempt_;    // just marked or unmarked "on all desktops"
  int exemptDesktop_ = 0;    // the desktop that was current then
};

TEST_F(RandomWalk, KeepsEveryWindowOnOneDesktopShownWhenItShouldAndBringsAllBackAtExit) {
  const char* chosen = std::getenv("VD_WALK_SEED");
  const uint64_t seed = chosen && *chosen ? std::strtoull(chosen, nullptr, 10) : 20240611u;
  ASSERT_TRUE(started_);
  std::mt19937_64 random(seed);
  for (int i = 0; i < 2000; ++i) {
    const Step s = Draw(random);
    ASSERT_EQ(Apply(s), "") << "seed " << seed << ", step " << i << " (action " << s.action << ", "
                            << s.a << ", " << s.b << ", " << s.c << ")";
  }
  Pager().CloseAll();
  EXPECT_TRUE(fake.ProcessEnded());
  for (Hwnd hwnd : apps_) EXPECT_FALSE(fake.Exists(hwnd) && !fake.IsWindowVisible(hwnd)) << hwnd;
  EXPECT_FALSE(std::filesystem::exists(File("hidden.list")));
}

}  // namespace
}  // namespace vd::testing
