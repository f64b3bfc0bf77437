// The in-memory desktop. Each behaviour here mirrors what the real window manager does (and
// what the conformance suite checks against it under Wine), so the logic's unit tests see the
// same answers the program gets on Windows.
//
// This file holds what the tests drive and inspect: making, destroying and activating windows,
// the cursor, the hotkeys pressed, the clock, the screen and the folder, and the record of
// calls. The calls of the window-system seam live beside it, one file per thing they fake.
#include "platform/fake/FakeWindowSystem.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/fake/FakeState.h"

namespace vd::fake {

namespace {

constexpr Hwnd kHandleStep = 2;

}  // namespace

// ---- The desktop, driven by tests ---------------------------------------------------------------

FakeWindowSystem::FakeWindowSystem() : state_(std::make_unique<State>()) {
  // Every Windows user has a Run key; the program writes its start-with-Windows value there.
  state_->registry["HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"];
}

FakeWindowSystem::~FakeWindowSystem() = default;

Hwnd FakeWindowSystem::CreateWindow(const WindowTraits& desc) {
  State& s = *state_;
  if (desc.parent != 0 && !s.Find(desc.parent)) return 0;
  const Hwnd hwnd = s.nextHandle;
  s.nextHandle += kHandleStep;
  State::Window window;
  window.caption = desc.caption;
  window.style = desc.style | (desc.parent != 0 ? WS_CHILD : 0);
  window.exStyle = desc.parent != 0 ? (desc.exStyle & ~WS_EX_TOPMOST) : desc.exStyle;
  window.rect = desc.rect;
  window.process = desc.process;
  window.parent = desc.parent;
  window.owner = desc.parent == 0 && s.Find(desc.owner) ? desc.owner : 0;
  s.windows.emplace(hwnd, std::move(window));
  s.Siblings(s.windows.at(hwnd)).push_back(hwnd);
  s.PlaceAtTop(hwnd);
  return hwnd;
}

void FakeWindowSystem::DestroyWindow(Hwnd hwnd) { state_->Destroy(hwnd); }

void FakeWindowSystem::SetCaption(Hwnd hwnd, const std::string& caption) {
  State& s = *state_;
  auto* window = s.Find(hwnd);
  if (window == nullptr) return;
  window->caption = caption;
  if (s.Reported(hwnd)) s.Notify(WindowEvent::kRenamed, hwnd);
}

void FakeWindowSystem::SetMessageSink(Hwnd hwnd, MessageSink sink) {
  if (auto* window = state_->Find(hwnd)) window->sink = std::move(sink);
}

void FakeWindowSystem::Activate(Hwnd hwnd) {
  if (state_->Find(hwnd)) state_->Activate(hwnd);
}

void FakeWindowSystem::SetCursor(Point point) { state_->cursor = point; }

bool FakeWindowSystem::PressHotkey(uint32_t modifiers, uint32_t virtualKey) {
  State& s = *state_;
  modifiers &= kHotkeyModifierMask;
  auto it = std::find_if(s.hotkeys.begin(), s.hotkeys.end(), [&](const State::Hotkey& h) {
    return h.modifiers == modifiers && h.virtualKey == virtualKey;
  });
  if (it == s.hotkeys.end()) return false;
  const State::Hotkey hotkey = *it;
  State::Window* window = s.Find(hotkey.hwnd);
  if (window && window->sink) {
    const MessageSink sink = window->sink;  // the sink may change the desktop while it runs
    const intptr_t lParam = static_cast<intptr_t>((virtualKey << 16) | (modifiers & 0xFFFF));
    sink(WM_HOTKEY, static_cast<uintptr_t>(hotkey.id), lParam);
  }
  return true;
}

void FakeWindowSystem::HoldHotkeyElsewhere(uint32_t modifiers, uint32_t virtualKey) {
  state_->heldElsewhere.emplace_back(modifiers & kHotkeyModifierMask, virtualKey);
}

void FakeWindowSystem::SetHung(Hwnd hwnd, bool hung) {
  if (auto* window = state_->Find(hwnd)) window->hung = hung;
}

void FakeWindowSystem::SetCloaked(Hwnd hwnd, bool cloaked) {
  State& s = *state_;
  auto* window = s.Find(hwnd);
  if (window == nullptr || window->cloaked == cloaked) return;
  window->cloaked = cloaked;
  if (s.Reported(hwnd)) s.Notify(cloaked ? WindowEvent::kCloaked : WindowEvent::kUncloaked, hwnd);
}

void FakeWindowSystem::WithholdWindowEvents(bool withheld) { state_->eventsWithheld = withheld; }

void FakeWindowSystem::SetWindowEventsOffered(bool offered) {
  state_->eventsOffered = offered;
  if (!offered) state_->eventHandler = nullptr;
}

bool FakeWindowSystem::WatchWindowEvents(WindowEventHandler handler) {
  State& s = *state_;
  s.Record("WatchWindowEvents", {handler ? "on" : "off"});
  if (!s.eventsOffered) return false;
  s.eventHandler = std::move(handler);
  return true;
}

void FakeWindowSystem::PutOnSystemDesktop(Hwnd hwnd, int desktop) {
  if (auto* window = state_->Find(hwnd)) window->systemDesktop = desktop;
}

void FakeWindowSystem::SwitchSystemDesktop(int desktop) {
  State& s = *state_;
  const int before = s.currentSystemDesktop;
  s.currentSystemDesktop = desktop;
  // The windows of the desktop left are cloaked, those of the new one uncloaked.
  std::vector<std::pair<WindowEvent, Hwnd>> events;
  for (const auto& [hwnd, window] : s.windows) {
    if (window.systemDesktop == 0 || window.cloaked || !s.Reported(hwnd)) continue;
    if (window.systemDesktop == before && before != desktop) {
      events.emplace_back(WindowEvent::kCloaked, hwnd);
    } else if (window.systemDesktop == desktop && before != desktop) {
      events.emplace_back(WindowEvent::kUncloaked, hwnd);
    }
  }
  for (const auto& [event, hwnd] : events) s.Notify(event, hwnd);
  // The window in front stays there only when it is on the new desktop too.
  const State::Window* front = s.Find(s.foreground);
  if (front != nullptr && front->systemDesktop != 0 && front->systemDesktop != desktop) {
    s.foreground = 0;
  }
}

void FakeWindowSystem::RefuseChanges(Hwnd hwnd, bool knownBeforehand) {
  if (auto* window = state_->Find(hwnd)) {
    window->refusesChanges = true;
    window->refusalKnown = window->refusalKnown || knownBeforehand;
  }
}

void FakeWindowSystem::SetWindowPicture(Hwnd hwnd, Bitmap picture) {
  if (auto* window = state_->Find(hwnd)) window->picture = std::move(picture);
}

void FakeWindowSystem::SetScreen(int widthPx, int heightPx) {
  state_->screenWidth = widthPx;
  state_->screenHeight = heightPx;
}

void FakeWindowSystem::SetProgramFolder(const std::string& folder) {
  state_->programFolder = folder;
}

void FakeWindowSystem::SetApplicationDataFolder(const std::string& folder) {
  state_->appDataFolder = folder;
}

void FakeWindowSystem::RefuseWritesIn(const std::string& folder) {
  state_->refusingFolders.push_back(LocalPath(folder));
}

void FakeWindowSystem::SetCallHook(std::function<void(const Call& call)> hook) {
  state_->callHook = std::move(hook);
}

void FakeWindowSystem::FailFileReplacements(int count) { state_->failingReplacements = count; }

void FakeWindowSystem::SetSecondInstance(bool anotherCopyRuns) {
  state_->secondInstance = anotherCopyRuns;
}

void FakeWindowSystem::CreateRegistryKey(const std::string& path) {
  if (state_->FindRegistryKey(path) == state_->registry.end()) state_->registry[path];
}

// ---- Inspection ---------------------------------------------------------------------------------

bool FakeWindowSystem::Exists(Hwnd hwnd) const { return state_->Find(hwnd) != nullptr; }

bool FakeWindowSystem::IsTopMost(Hwnd hwnd) const {
  const auto* window = state_->Find(hwnd);
  return window && State::TopMost(*window);
}

int FakeWindowSystem::Alpha(Hwnd hwnd) const {
  const auto* window = state_->Find(hwnd);
  if (!window || (window->exStyle & WS_EX_LAYERED) == 0) return -1;
  return window->alpha;
}

std::vector<Hwnd> FakeWindowSystem::ZOrder() const { return state_->zOrder; }

uint32_t FakeWindowSystem::VirtualTimeMs() const { return state_->clock; }

void FakeWindowSystem::AdvanceTime(uint32_t ms) { state_->clock += ms; }

bool FakeWindowSystem::ProcessEnded() const { return state_->ended; }

const std::vector<Call>& FakeWindowSystem::Calls() const { return state_->calls; }

void FakeWindowSystem::ClearCalls() { state_->calls.clear(); }

std::vector<Call> FakeWindowSystem::CallsOn(const std::string& name, Hwnd hwnd) const {
  std::vector<Call> result;
  const std::string handle = Dec(hwnd);
  for (const Call& call : state_->calls) {
    if (call.name == name && !call.args.empty() && call.args.front() == handle) {
      result.push_back(call);
    }
  }
  return result;
}

std::vector<NotifyIconData> FakeWindowSystem::TrayIcons() const { return state_->tray; }

const std::map<std::string, std::map<std::string, std::string>>& FakeWindowSystem::Registry()
    const {
  return state_->registry;
}

}  // namespace vd::fake
