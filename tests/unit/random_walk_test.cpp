// A seeded random walk over a whole program on the fake desktop and the headless toolkit:
// windows of another application open, close, change their captions and come to the front;
// the user switches desktops by hotkey and by cell click, drags miniatures between cells,
// clicks them, uses every command of the window menu (answering the Remove question each way,
// sometimes after the window closed meanwhile), accepts or refuses offered windows, changes the
// grid and the switching options; virtual time passes. After every step it checks the promises
// that keep the user's windows safe:
//
//  - each managed window is on exactly one desktop, one of the grid's;
//  - a managed window is visible exactly when its desktop is the current one or it is shown on
//    all desktops (except the summoned window while it is summoned, and a window just marked
//    or unmarked "Show on All Desktop" until the next switch);
//  - each row has its own shown miniature; no miniature or picture of a forgotten window stays;
//  - a hidden window of another application is managed and named in the record of hidden
//    windows that brings it back after a forced end;
//  - at the end, the exit shows every window and removes the record.
//
// The walk is the same on every run; VD_WALK_SEED chooses another. What it found stands as
// deterministic cases in the tests of the components.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "ProgramFixture.h"
#include "dialogs/AddWindowPrompt.h"
#include "options/OptionsDialog.h"
#include "settings/Hotkeys.h"

namespace vd::testing {
namespace {

enum class Action : uint8_t {
  kOpen,       // a: caption, b: place and size, c: bit 0 no border (offered), bit 1 to front
  kClose,      // a: which window of the application
  kCaption,    // a: which window, b: the new caption
  kFront,      // a: which shown window comes to the front
  kHotkey,     // a: which hotkey (a desktop's, one beyond the grid, hide/unhide, panic)
  kCellClick,  // a: which cell, b: bit 0 right button
  kDrag,       // a: which miniature, b: target cell (0: outside the grid), c: pixels moved
  kClick,      // a: which miniature
  kMenu,       // a: which miniature, b: which command, c: its choice / the answer
  kOptions,    // a: columns, b: rows, c: bits toggle animation, auto-hide; cancel
  kOffer,      // a: bit 0 accept, bit 1 also ignore; pressed only when an offer stands
  kTime,       // a: milliseconds
  kCount
};

struct Step {
  Action action = Action::kTime;
  uint32_t a = 0, b = 0, c = 0;
};


// The steps of a walk, drawn one by one from a seed. std::mt19937_64's output is the same
// everywhere and no library distribution is used, so a seed means the same walk on every
// system.
class StepSource {
 public:
  StepSource(uint64_t seed, uint32_t maxTimeMs) : random_(seed), maxTimeMs_(maxTimeMs) {}
  Step Next() {
    // Weights per 100 steps, in the order of Action.
    static const int kWeights[] = {10, 6, 6, 10, 10, 8, 8, 5, 15, 3, 3, 16};
    int pick = static_cast<int>(random_() % 100);
    int kind = 0;
    while (pick >= kWeights[kind]) pick -= kWeights[kind++];
    Step s;
    s.action = static_cast<Action>(kind);
    s.a = static_cast<uint32_t>(random_());
    s.b = static_cast<uint32_t>(random_());
    s.c = static_cast<uint32_t>(random_());
    if (s.action == Action::kTime) s.a %= maxTimeMs_ + 1;
    return s;
  }

 private:
  std::mt19937_64 random_;
  uint32_t maxTimeMs_;
};


class RandomWalk : public ProgramFixture {
 protected:
  void SetUp() override {
    backend->onModal = [this](forms::Form& form) { AnswerModal(form); };
    backend->onPopup = [this](forms::Form&, forms::MenuItem& menu, float, float) {
      return choose_ ? choose_(menu) : nullptr;
    };
    for (int i = 0; i < 4; ++i) Open("Window " + std::to_string(++opened_), Place(i * 977));
    // A small grid to begin with; the walk changes it through the options.
    started_ = StartWith("[SETUP]\r\ncolumns=3\r\nrows=2\r\nwidth=30\r\nheight=20\r\n");
  }

  // Runs one step; the empty text, or the promise it broke.
  std::string Apply(const Step& s) {
    if (!started_) return "the program did not start";
    fake.ClearCalls();  // the fake records every call: a long walk must not keep them
    if (exemptDesktop_ != P().Desktops().Current()) exempt_.clear();
    switch (s.action) {
      case Action::kOpen: {
        // A user keeps a few dozen windows open at most; the walk keeps to that.
        Pick(0, false);  // forgets the windows that closed
        if (apps_.size() >= kMostWindows) break;
        Hwnd hwnd = Open(Caption(s.a), Place(s.b), (s.c & 1) != 0);
        if (s.c & 2) fake.Activate(hwnd);
        break;
      }
      case Action::kClose:
        if (Hwnd hwnd = Pick(s.a, false)) {
          fake.DestroyWindow(hwnd);
        }
        break;
      case Action::kCaption:
        if (Hwnd hwnd = Pick(s.a, false)) {
          fake.SetCaption(hwnd, Caption(s.b));
        }
        break;
      case Action::kFront:
        if (Hwnd hwnd = Pick(s.a, true)) {
          fake.Activate(hwnd);
        }
        break;
      case Action::kHotkey:
        PressHotkey(s.a);
        break;
      case Action::kCellClick: {
        const int cell = 1 + static_cast<int>(s.a % static_cast<uint32_t>(P().Desktops().Count()));
        P().cells(cell).RaiseMouseUp((s.b & 1) ? forms::kRightButton : forms::kLeftButton, 0, 10,
                                     10);
        break;
      }
      case Action::kDrag:
        Drag(s);
        break;
      case Action::kClick:
        if (forms::PictureBox* miniature = Miniature(s.a)) {
          miniature->RaiseMouseDown(forms::kLeftButton, 0, 30, 30);
          miniature->RaiseMouseUp(forms::kLeftButton, 0, 30, 30);
        }
        break;
      case Action::kMenu:
        WindowMenu(s);
        break;
      case Action::kOptions:
        step_ = s;
        choose_ = [this](forms::MenuItem&) { return &P().optionsEntry; };
        P().menuButton.RaiseClick();
        choose_ = nullptr;
        break;
      case Action::kOffer:
        if (P().offerButton.Visible()) {
          step_ = s;
          P().offerButton.RaiseClick();
        }
        break;
      case Action::kTime:
        backend->Advance(s.a);
        break;
      case Action::kCount:
        break;
    }
    return Broken(s.action == Action::kTime && s.a >= 100);
  }

  // Ends the program the ordinary way; the empty text, or the promise it broke.
  std::string Finish() {
    if (!started_) return "the program did not start";
    P().CloseAll();
    if (!fake.ProcessEnded()) return "CloseAll: the process did not end";
    for (Hwnd hwnd : apps_) {
      if (fake.Exists(hwnd) && !fake.IsWindowVisible(hwnd)) {
        return "CloseAll: window " + std::to_string(hwnd) + " was left hidden";
      }
    }
    if (std::filesystem::exists(File("hidden.list"))) {
      return "CloseAll: the record of hidden windows was left behind";
    }
    return {};
  }

  PagerWindow& P() { return Pager(); }

  // ---- The application's windows -------------------------------------------------------------
  static Rect Place(uint32_t b) {
    const int left = static_cast<int>(b % 1500) - 150,
              top = static_cast<int>((b >> 11) % 1100) - 50;
    const int width = 60 + static_cast<int>((b >> 21) % 900);
    const int height = 60 + static_cast<int>((b >> 26) % 700);
    return {left, top, left + width, top + height};
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

  Hwnd Open(const std::string& caption, Rect rect, bool noBorder = false) {
    fake::WindowTraits desc;
    desc.caption = caption;
    desc.rect = rect;
    if (noBorder) desc.style = WS_VISIBLE;
    const Hwnd hwnd = fake.CreateWindow(desc);
    apps_.push_back(hwnd);
    return hwnd;
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

  // ---- The pager -----------------------------------------------------------------------------
  // The miniature of the a-th managed window, or nullptr.
  forms::PictureBox* Miniature(uint32_t a) {
    const std::vector<Hwnd> windows = P().Table.Handles();
    if (windows.empty()) return nullptr;
    const int v = P().MiniatureOf(windows[a % windows.size()]);
    return v > 0 && P().miniatures.Exists(v) ? &P().miniatures(v) : nullptr;
  }

  void PressHotkey(uint32_t a) {
    const int count = P().Desktops().Count();
    int id = 1 + static_cast<int>(a % static_cast<uint32_t>(count + 1));  // one beyond the grid
    if (a % 23 == 0) id = Hotkeys::kHideHotkeyId;
    if (a % 29 == 0) id = Hotkeys::kPanicHotkeyId;
    const auto held = program->hotkeys.Held(id);
    if (!held) return;
    fake.PressHotkey(Hotkeys::ModifierFlags[static_cast<size_t>(held->modifier)],
                      Hotkeys::KeyCodes[static_cast<size_t>(held->key)]);
  }

  void Drag(const Step& s) {
    forms::PictureBox* miniature = Miniature(s.a);
    if (!miniature) return;
    // The hit test notes the cell under the cursor (or none) before the drop.
    const int cells = P().Desktops().Count();
    const int target = static_cast<int>(s.b % static_cast<uint32_t>(cells + 1));
    Rect pager;
    fake.GetWindowRect(P().hWnd(), &pager);
    Point cursor{0, 0};
    if (target >= 1) {
      const forms::PictureBox& cell = P().cells(target);
      cursor = {pager.left + static_cast<int>(cell.Left() + cell.Width() / 2),
                pager.top + static_cast<int>(cell.Top() + cell.Height() / 2)};
    }
    fake.SetCursor(cursor);
    backend->Advance(100);
    // The hit test may have closed or moved things: take the miniature again.
    miniature = Miniature(s.a);
    if (!miniature) return;
    const float travel = 15.0f * static_cast<float>(1 + s.c % 60);
    miniature->RaiseMouseDown(forms::kLeftButton, 0, 45, 45);
    miniature->RaiseMouseMove(forms::kLeftButton, 0, 45 + travel, 45);
    miniature->RaiseMouseUp(forms::kLeftButton, 0, 45 + travel, 45);
  }

  // The window menu of a miniature: one command among those enabled, or none.
  void WindowMenu(const Step& s) {
    forms::PictureBox* miniature = Miniature(s.a);
    if (!miniature) return;
    step_ = s;
    choose_ = [this](forms::MenuItem& menu) -> forms::MenuItem* {
      PagerWindow& p = P();
      std::vector<forms::MenuItem*> entries;
      auto offer = [&](forms::MenuItem& entry) {
        if (entry.Visible() && entry.Enabled() && !entry.IsSeparator()) entries.push_back(&entry);
      };
      for (forms::MenuItem* entry :
           {&p.windowMenu.summonEntry, &p.windowMenu.showOnAllEntry, &p.windowMenu.onTopEntry,
            &p.windowMenu.opaqueEntry, &p.windowMenu.highTransparencyEntry,
            &p.windowMenu.mediumTransparencyEntry, &p.windowMenu.lowTransparencyEntry,
            &p.windowMenu.removeEntry}) {
        offer(*entry);
      }
      if (p.windowMenu.moveToEntry.Visible() && p.windowMenu.moveToEntry.Enabled()) {
        for (int i : p.windowMenu.moveToEntries.Indexes()) {
          if (i > 0) offer(p.windowMenu.moveToEntries(i));
        }
      }
      for (int i : p.windowMenu.windowListEntries.Indexes()) {
        if (i > 0) offer(p.windowMenu.windowListEntries(i));
      }
      if (&menu != &p.windowMenu.popup || entries.empty() || step_.b % 20 == 0) return nullptr;
      forms::MenuItem* chosen = entries[step_.b % entries.size()];
      if (chosen == &p.windowMenu.showOnAllEntry) {
        exempt_.insert(p.Gestures().Selected());
        exemptDesktop_ = p.Desktops().Current();
      }
      return chosen;
    };
    miniature->RaiseMouseDown(forms::kRightButton, 0, 30, 30);
    miniature->RaiseMouseUp(forms::kRightButton, 0, 30, 30);
    choose_ = nullptr;
  }

  // The user at a modal dialog, as the current step says.
  void AnswerModal(forms::Form& form) {
    const Step& s = step_;
    if (auto* box = dynamic_cast<MessageDialog*>(&form)) {
      // The Remove question stays open a while: timers run, the window may close meanwhile.
      if (box->titleLabel.Caption() == "Remove Window") {
        if (s.c & 4) backend->Advance((s.c >> 8) % 500);
        const Hwnd selected = P().Gestures().Selected();
        if ((s.c & 8) && fake.Exists(selected)) fake.DestroyWindow(selected);
      }
      std::vector<forms::Button*> buttons;
      for (int i = 0; i <= 2; ++i) {
        if (box->answerButtons.Exists(i) && box->answerButtons(i).Visible()) {
          buttons.push_back(&box->answerButtons(i));
        }
      }
      if (!buttons.empty()) {
        buttons[s.c % buttons.size()]->RaiseClick();
      }
    } else if (auto* options = dynamic_cast<OptionsDialog*>(&form)) {
      const uint32_t columns = s.a % 16 == 0 ? 1 + (s.a >> 4) % 9 : 1 + (s.a >> 4) % 4;
      const uint32_t rows = s.b % 16 == 0 ? 1 + (s.b >> 4) % 9 : 1 + (s.b >> 4) % 3;
      Retype(options->application.columnsField, std::to_string(columns));
      Retype(options->application.rowsField, std::to_string(rows));
      if (s.c & 1)
        options->others.animateBox.SetValue(options->others.animateBox.Checked() ? 0 : 1);
      if (s.c & 2)
        options->others.autoHideBox.SetValue(options->others.autoHideBox.Checked() ? 0 : 1);
      if (s.c % 11 == 0) {
        options->cancelButton.RaiseClick();
      } else {
        options->okButton.RaiseClick();
      }
    } else if (auto* prompt = dynamic_cast<AddWindowPrompt*>(&form)) {
      prompt->ignoreBox.SetValue((s.a & 2) ? 1 : 0);
      if (s.a & 1) {
        prompt->yesButton.RaiseClick();
      } else {
        prompt->noButton.RaiseClick();
      }
    }
  }


  static void Retype(forms::TextBox& field, const std::string& keys) {
    field.RaiseGotFocus();
    for (char c : keys) field.TypeChar(c);
  }

  // ---- The promises --------------------------------------------------------------------------
  // ticked: at least 100 ms have passed in this step.
  std::string Broken(bool ticked) {
    PagerWindow& p = P();
    std::ostringstream why;
    const int count = p.Desktops().Count(), current = p.Desktops().Current();
    const Hwnd summoned = p.Tracker().SummonedWindow();
    if (count < 1 || count > 81) {
      why << "the grid has " << count << " desktops";
      return why.str();
    }
    if (current < 1 || current > count) {
      why << "the current desktop " << current << " is not one of the " << count;
      return why.str();
    }
    if (exemptDesktop_ != current) exempt_.clear();
    const std::set<Hwnd> recorded = Recorded();
    std::set<int> miniatures;
    for (const ManagedWindow& w : p.Table) {
      const Hwnd hwnd = w.handle;
      const int desktop = w.desktop;
      if (desktop < 1 || desktop > count) {
        why << "window " << hwnd << " is on desktop " << desktop << " of " << count;
        return why.str();
      }
      const int v = w.miniature;
      if (v < 1 || !p.miniatures.Exists(v) || !p.miniatures(v).Visible() ||
          !miniatures.insert(v).second) {
        why << "window " << hwnd << " has no shown miniature of its own (miniature " << v << ")";
        return why.str();
      }
      if (!fake.Exists(hwnd) || hwnd == summoned || exempt_.count(hwnd)) continue;
      const bool showAll = w.showAll;
      const bool expected = desktop == current || showAll;
      if (fake.IsWindowVisible(hwnd) != expected) {
        why << "window " << hwnd << " of desktop " << desktop << (showAll ? " (on all)" : "")
            << " is " << (expected ? "hidden" : "shown") << " on desktop " << current;
        return why.str();
      }
    }
    for (int i : p.miniatures.Indexes()) {
      if (i < 1 || !p.miniatures(i).Visible()) continue;
      if (!miniatures.count(i)) {
        why << "miniature " << i << " is shown without its window's record";
        return why.str();
      }
    }
    // Nothing grows with the windows that came and went: a forgotten window's miniature and
    // picture go at the tick after the one that forgot it, so none is still there one tick of
    // the pager's timer (100 ms) later.
    if (ticked) {
      std::set<int> leftovers;
      for (int i : p.miniatures.Indexes()) {
        if (i > 0 && !miniatures.count(i)) leftovers.insert(i);
      }
      for (int i : p.Miniatures().Pictures().Indexes()) {
        if (!miniatures.count(i)) leftovers.insert(i);
      }
      for (int i : leftovers) {
        if (leftovers_.count(i)) {
          why << "miniature or picture " << i << " of a forgotten window stays loaded ("
              << p.Table.Count() << " windows, " << p.miniatures.Indexes().size() - 1
              << " miniatures, " << p.Miniatures().Pictures().Indexes().size() << " pictures)";
          return why.str();
        }
      }
      leftovers_ = std::move(leftovers);
    }
    for (Hwnd hwnd : apps_) {
      if (!fake.Exists(hwnd) || fake.IsWindowVisible(hwnd)) continue;
      if (!p.IsManaged(hwnd)) {
        why << "window " << hwnd << " is hidden and no longer managed";
        return why.str();
      }
      if (!recorded.count(hwnd)) {
        why << "window " << hwnd << " is hidden but missing from the record of hidden windows";
        return why.str();
      }
    }
    return {};
  }

  // The windows named in the record of hidden windows.
  std::set<Hwnd> Recorded() {
    std::set<Hwnd> out;
    std::ifstream in(File("hidden.list"), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
      if (auto hwnd = ToInt32(Split(line, ' ')[0])) out.insert(*hwnd);
    }
    return out;
  }

  static constexpr size_t kMostWindows = 24;
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
  StepSource steps(seed, 1000);
  for (int i = 0; i < 2000; ++i) {
    const Step s = steps.Next();
    const std::string broken = Apply(s);
    ASSERT_EQ(broken, "") << "seed " << seed << ", step " << i << " (action "
                          << static_cast<int>(s.action) << ")";
  }
  EXPECT_EQ(Finish(), "") << "seed " << seed << ", at the exit";
}

}  // namespace
}  // namespace vd::testing
