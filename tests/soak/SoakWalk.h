// A deterministic random walk over a whole program on the fake desktop and the headless
// toolkit: windows of another application open, close, change their captions and come to the
// front; the user switches desktops by hotkey and by cell click, drags miniatures between
// cells, clicks them, uses every command of the window menu (answering the Remove question
// each way, sometimes after the window closed meanwhile), accepts or refuses offered windows,
// changes the grid and the switching options through the options dialog; virtual time passes.
// After every step the promises that keep the user's windows safe are checked:
//
//  - each managed window is on exactly one desktop, one of the grid's;
//  - a managed window is visible exactly when its desktop is the current one or it is shown on
//    all desktops (except the summoned window while it is summoned, and a window just marked
//    or unmarked "Show on All Desktop" until the next switch);
//  - the table and the miniatures agree: each row has its own miniature, shown, tagged with the
//    row's key; no miniature of a removed row is shown;
//  - a hidden window of another application is managed, and named in the record that brings
//    it back after a forced end;
//  - at the end, CloseAll shows every window and removes the record.
//
// A walk is a list of steps drawn from a seed; each step's numbers are read against the state
// it meets ("the a-th window"), so a shorter list still makes sense and a failing walk can be
// shrunk to the fewest steps that still break the same promise.
//
// Header only: used by the short soak in the unit tests and by the long soak's own program.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/Program.h"
#include "core/Text.h"
#include "dialogs/AddWindowPrompt.h"
#include "dialogs/MessageDialog.h"
#include "forms/headless/HeadlessBackend.h"
#include "options/OptionsDialog.h"
#include "pager/PagerWindow.h"
#include "platform/fake/FakeWindowSystem.h"
#include "settings/Hotkeys.h"

namespace vd::soak {

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

inline const char* NameOf(Action action) {
  static const char* const kNames[] = {"Open", "Close", "Caption", "Front",   "Hotkey", "CellClick",
                                       "Drag", "Click", "Menu",    "Options", "Offer",  "Time"};
  return kNames[static_cast<int>(action)];
}

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

inline std::vector<Step> DrawSteps(uint64_t seed, size_t count, uint32_t maxTimeMs) {
  StepSource source(seed, maxTimeMs);
  std::vector<Step> steps(count);
  for (Step& s : steps) s = source.Next();
  return steps;
}

inline std::string Describe(const Step& s) {
  std::ostringstream out;
  out << "{Action::k" << NameOf(s.action) << ", " << s.a << "u, " << s.b << "u, " << s.c << "u}";
  return out.str();
}

// Faults the walk found that are not mended yet. Each has a regression test, disabled until
// its mend, in tests/unit/reliability_soak_test.cpp. While a fault is listed here the walk
// steers around it (or leaves its promise unchecked), so that it can look for others; the
// mend removes it from this list and enables its test.
enum class OpenFault {
  // None open at present. A new one is named here, e.g. kASecondSummonLeavesTheFirstShown,
  // and the walk steers around it where it offers the step that shows it.
  kNone,
};
inline const std::set<OpenFault> kOpenFaults = {};

// One program on its own fake desktop, in a scratch folder, driven step by step.
class Walk {
 public:
  explicit Walk(std::set<OpenFault> openFaults = kOpenFaults) : open_(std::move(openFaults)) {
    std::random_device rd;
    folder_ = std::filesystem::temp_directory_path() /
              ("vuedeck-soak-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(folder_);
    fake_.SetProgramFolder(folder_.string());
    fake_.SetScreen(1280, 1024);
    backend_ = std::make_unique<forms::headless::HeadlessBackend>(&fake_);
    backend_->onModal = [this](forms::Form& form) { AnswerModal(form); };
    backend_->onPopup = [this](forms::Form&, forms::MenuItem& menu, float, float) {
      return choose_ ? choose_(menu) : nullptr;
    };
    // A small grid to begin with; the walk changes it through the options.
    std::ofstream(folder_ / "settings.ini", std::ios::binary)
        << "[SETUP]\r\ncolumns=3\r\nrows=2\r\nwidth=30\r\nheight=20\r\n";
    for (int i = 0; i < 4; ++i) Open("Window " + std::to_string(++opened_), Place(i * 977));
    program_ = std::make_unique<Program>(fake_, *backend_);
    started_ = program_->Start();
  }
  ~Walk() {
    program_.reset();
    backend_.reset();
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  Walk(const Walk&) = delete;
  Walk& operator=(const Walk&) = delete;

  // Runs one step; the empty text, or the promise it broke.
  std::string Apply(const Step& s) {
    if (!started_) return "the program did not start";
    fake_.ClearCalls();  // the fake records every call: a long walk must not keep them
    if (exemptDesktop_ != P().Desktops().Current()) exempt_.clear();
    switch (s.action) {
      case Action::kOpen: {
        // A user keeps a few dozen windows open at most; the walk keeps to that.
        Pick(0, false);  // forgets the windows that closed
        if (apps_.size() >= kMostWindows) break;
        Hwnd hwnd = Open(Caption(s.a), Place(s.b), (s.c & 1) != 0);
        if (s.c & 2) fake_.Activate(hwnd);
        Note("open " + Name(hwnd) + ((s.c & 1) ? " without border" : "") +
             ((s.c & 2) ? ", to the front" : ""));
        break;
      }
      case Action::kClose:
        if (Hwnd hwnd = Pick(s.a, false)) {
          Note("close " + Name(hwnd));
          fake_.DestroyWindow(hwnd);
        }
        break;
      case Action::kCaption:
        if (Hwnd hwnd = Pick(s.a, false)) {
          fake_.SetCaption(hwnd, Caption(s.b));
          Note("caption of " + Name(hwnd));
        }
        break;
      case Action::kFront:
        if (Hwnd hwnd = Pick(s.a, true)) {
          Note("to the front: " + Name(hwnd));
          fake_.Activate(hwnd);
        }
        break;
      case Action::kHotkey:
        PressHotkey(s.a);
        break;
      case Action::kCellClick: {
        const int cell = 1 + static_cast<int>(s.a % static_cast<uint32_t>(P().Desktops().Count()));
        Note(std::string((s.b & 1) ? "right" : "left") + " click on cell " + std::to_string(cell));
        P().cells(cell).RaiseMouseUp((s.b & 1) ? forms::kRightButton : forms::kLeftButton, 0, 10,
                                     10);
        break;
      }
      case Action::kDrag:
        Drag(s);
        break;
      case Action::kClick:
        if (forms::PictureBox* miniature = Miniature(s.a)) {
          Note("click on the miniature of " + Name(P().WindowOfMiniature(miniature->Index())));
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
        Note("wait " + std::to_string(s.a) + " ms");
        backend_->Advance(s.a);
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
    if (!fake_.ProcessEnded()) return "CloseAll: the process did not end";
    for (Hwnd hwnd : apps_) {
      if (fake_.Exists(hwnd) && !fake_.IsWindowVisible(hwnd)) {
        return "CloseAll: window " + std::to_string(hwnd) + " was left hidden";
      }
    }
    if (std::filesystem::exists(folder_ / "hidden.list")) {
      return "CloseAll: the record of hidden windows was left behind";
    }
    return {};
  }

  PagerWindow& P() { return program_->Main(); }
  // Told in words what each step did, when set (the long soak's --trace).
  std::function<void(const std::string&)> Trace;
  fake::FakeWindowSystem& Fake() { return fake_; }
  size_t WindowsOpened() const { return opened_; }

 private:
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
    const Hwnd hwnd = fake_.CreateWindow(desc);
    apps_.push_back(hwnd);
    return hwnd;
  }

  // The a-th living window of the application (only shown ones when asked), or 0.
  Hwnd Pick(uint32_t a, bool shownOnly) {
    std::erase_if(apps_, [this](Hwnd h) { return !fake_.Exists(h); });
    std::vector<Hwnd> candidates;
    for (Hwnd h : apps_) {
      if (!shownOnly || fake_.IsWindowVisible(h)) candidates.push_back(h);
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
    const auto held = program_->hotkeys.Held(id);
    if (!held) return;
    Note("hotkey " + std::to_string(id));
    fake_.PressHotkey(Hotkeys::ModifierFlags[static_cast<size_t>(held->modifier)],
                      Hotkeys::KeyCodes[static_cast<size_t>(held->key)]);
  }

  void Drag(const Step& s) {
    forms::PictureBox* miniature = Miniature(s.a);
    if (!miniature) return;
    // The hit test notes the cell under the cursor (or none) before the drop.
    const int cells = P().Desktops().Count();
    const int target = static_cast<int>(s.b % static_cast<uint32_t>(cells + 1));
    Rect pager;
    fake_.GetWindowRect(P().hWnd(), &pager);
    Point cursor{0, 0};
    if (target >= 1) {
      const forms::PictureBox& cell = P().cells(target);
      cursor = {pager.left + static_cast<int>(cell.Left() + cell.Width() / 2),
                pager.top + static_cast<int>(cell.Top() + cell.Height() / 2)};
    }
    fake_.SetCursor(cursor);
    Note("drag the miniature of " + Name(P().WindowOfMiniature(miniature->Index())) + " to " +
         (target >= 1 ? "cell " + std::to_string(target) : std::string("no cell")));
    backend_->Advance(100);
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
      Note("window menu of " + Name(p.Gestures().Selected()) + ": " + chosen->Caption());
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
        if (s.c & 4) backend_->Advance((s.c >> 8) % 500);
        const Hwnd selected = P().Gestures().Selected();
        if ((s.c & 8) && fake_.Exists(selected)) fake_.DestroyWindow(selected);
      }
      std::vector<forms::Button*> buttons;
      for (int i = 0; i <= 2; ++i) {
        if (box->answerButtons.Exists(i) && box->answerButtons(i).Visible()) {
          buttons.push_back(&box->answerButtons(i));
        }
      }
      if (!buttons.empty()) {
        Note("answer " + buttons[s.c % buttons.size()]->Caption() + " to " +
             box->titleLabel.Caption());
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
      Note("options: grid " + std::to_string(columns) + " x " + std::to_string(rows) +
           ((s.c & 1) ? ", animation toggled" : "") + ((s.c & 2) ? ", auto-hide toggled" : ""));
      if (s.c % 11 == 0) {
        Note("options: Cancel");
        options->cancelButton.RaiseClick();
      } else {
        options->okButton.RaiseClick();
      }
    } else if (auto* prompt = dynamic_cast<AddWindowPrompt*>(&form)) {
      prompt->ignoreBox.SetValue((s.a & 2) ? 1 : 0);
      Note(std::string("add-window prompt: ") + ((s.a & 1) ? "Yes" : "No") +
           ((s.a & 2) ? ", ignore" : ""));
      if (s.a & 1) {
        prompt->yesButton.RaiseClick();
      } else {
        prompt->noButton.RaiseClick();
      }
    }
  }

  void Note(const std::string& text) {
    if (Trace) Trace(text);
  }
  // A window as the trace names it: its handle, its desktop and the start of its caption.
  std::string Name(Hwnd hwnd) {
    std::string caption = fake_.GetWindowTextA(hwnd, 25);
    const int desktop = P().DesktopOf(hwnd);
    return std::to_string(hwnd) +
           (desktop == 0 ? "" : " (desktop " + std::to_string(desktop) + ")") + " '" + caption +
           "'";
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
      if (!fake_.Exists(hwnd) || hwnd == summoned || exempt_.count(hwnd)) continue;
      const bool showAll = w.showAll;
      const bool expected = desktop == current || showAll;
      if (fake_.IsWindowVisible(hwnd) != expected) {
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
      if (!fake_.Exists(hwnd) || fake_.IsWindowVisible(hwnd)) continue;
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
    std::ifstream in(folder_ / "hidden.list", std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
      if (auto hwnd = ToInt32(Split(line, ' ')[0])) out.insert(*hwnd);
    }
    return out;
  }

  static constexpr size_t kMostWindows = 24;
  std::set<OpenFault> open_;
  std::filesystem::path folder_;
  fake::FakeWindowSystem fake_;
  std::unique_ptr<forms::headless::HeadlessBackend> backend_;
  std::unique_ptr<Program> program_;
  bool started_ = false;
  std::vector<Hwnd> apps_;  // the application's windows, in the order they opened
  size_t opened_ = 0;
  Step step_;  // the step a modal dialog or a popup menu is answered for
  std::function<forms::MenuItem*(forms::MenuItem&)> choose_;
  std::set<int> leftovers_;  // miniatures and pictures without a row at the last tick
  std::set<Hwnd> exempt_;    // just marked or unmarked "on all desktops"
  int exemptDesktop_ = 0;    // the desktop that was current then
};

// What a walk broke: the step (counted from 0; the number of steps for the exit) and how.
struct Failure {
  size_t step = 0;
  std::string what;
};

// Runs the steps on a new program, then its exit; the first promise broken, if any.
inline std::optional<Failure> RunWalk(const std::vector<Step>& steps,
                                      const std::set<OpenFault>& openFaults = kOpenFaults) {
  Walk walk(openFaults);
  for (size_t i = 0; i < steps.size(); ++i) {
    std::string broken = walk.Apply(steps[i]);
    if (!broken.empty()) return Failure{i, broken};
  }
  std::string broken = walk.Finish();
  if (!broken.empty()) return Failure{steps.size(), broken};
  return std::nullopt;
}

// The kind of a broken promise: its text without the handles and numbers.
inline std::string KindOf(const std::string& what) {
  std::string kind;
  for (char c : what) {
    if (c < '0' || c > '9') kind += c;
  }
  return kind;
}

// Shrinks a failing walk as long as it still breaks the same kind of promise: first to the
// shortest tail that does (a fault seldom needs the whole history), then by dropping chunks of
// steps, halving their size down to single steps. Returns the shortest walk found.
inline std::vector<Step> Shrink(std::vector<Step> steps, const std::string& kind) {
  auto fails = [&](const std::vector<Step>& candidate) {
    auto failure = RunWalk(candidate);
    return failure && KindOf(failure->what) == kind;
  };
  size_t keep = 0, drop = steps.size();  // the tail from `keep` fails; from `drop` it does not
  while (drop - keep > 1) {
    const size_t middle = keep + (drop - keep) / 2;
    if (fails(std::vector<Step>(steps.begin() + static_cast<long>(middle), steps.end()))) {
      keep = middle;
    } else {
      drop = middle;
    }
  }
  steps.erase(steps.begin(), steps.begin() + static_cast<long>(keep));
  for (size_t chunk = std::max<size_t>(1, steps.size() / 2);; chunk /= 2) {
    for (size_t start = 0; start < steps.size();) {
      std::vector<Step> candidate(steps.begin(), steps.begin() + static_cast<long>(start));
      const size_t end = std::min(steps.size(), start + chunk);
      candidate.insert(candidate.end(), steps.begin() + static_cast<long>(end), steps.end());
      if (fails(candidate)) {
        steps = std::move(candidate);
      } else {
        start += chunk;
      }
    }
    if (chunk == 1) break;
  }
  return steps;
}

}  // namespace vd::soak
