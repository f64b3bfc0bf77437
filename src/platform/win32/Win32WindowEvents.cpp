// The system's window events, heard through out-of-context event hooks: the system queues each
// event for the program's thread, which runs the callback while it waits for messages. Only
// events of whole windows (not of their parts: carets, scroll bars, the cursor) reach the
// handler; of the program's own windows only their coming to the front is heard.
#include "platform/win32/Win32WindowSystem.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "platform/win32/HandleConversion.h"

namespace vd::win32 {

namespace {

// Event numbers the older headers may lack.
constexpr DWORD kEventObjectCloaked = 0x8017;
constexpr DWORD kEventObjectUncloaked = 0x8018;

// The system's events the program hears, and what each tells it. Each is hooked on its own, so
// that no frequent event the program does not use wakes it: a caret or the cursor moving, a
// window's place changing during a drag, and the showing and hiding of windows (every switch
// would hear back of each window it shows and hides).
constexpr std::pair<DWORD, WindowEvent> kHeard[] = {
    {EVENT_SYSTEM_FOREGROUND, WindowEvent::kForeground},
    {EVENT_SYSTEM_MOVESIZEEND, WindowEvent::kMoved},
    {EVENT_SYSTEM_MINIMIZESTART, WindowEvent::kMoved},
    {EVENT_SYSTEM_MINIMIZEEND, WindowEvent::kMoved},
    {EVENT_OBJECT_DESTROY, WindowEvent::kDestroyed},
    {EVENT_OBJECT_NAMECHANGE, WindowEvent::kRenamed},
    {kEventObjectCloaked, WindowEvent::kCloaked},
    {kEventObjectUncloaked, WindowEvent::kUncloaked},
};

// The handler the callback forwards to: one per process, as the callback has no context.
WindowEventHandler& Listener() {
  static WindowEventHandler handler;
  return handler;
}

void CALLBACK OnWindowEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                            DWORD) {
  if (window == nullptr || object != OBJID_WINDOW || child != CHILDID_SELF) return;
  const auto heard = std::find_if(std::begin(kHeard), std::end(kHeard),
                                  [event](const auto& entry) { return entry.first == event; });
  // Copied: the handler may stop the reports while it runs.
  const WindowEventHandler handler = Listener();
  if (heard != std::end(kHeard) && handler) handler(heard->second, FromHwnd(window));
}

}  // namespace

bool Win32WindowSystem::WatchWindowEvents(WindowEventHandler handler) {
  for (HWINEVENTHOOK hook : eventHooks_) ::UnhookWinEvent(hook);
  eventHooks_.clear();
  Listener() = std::move(handler);
  if (!Listener()) return true;
  for (const auto& entry : kHeard) {
    const DWORD event = entry.first;
    // The program hears of its own windows coming to the front (the pager clicked, a dialog
    // opened), and of nothing else of theirs.
    const DWORD skipOwn = event == EVENT_SYSTEM_FOREGROUND ? 0 : WINEVENT_SKIPOWNPROCESS;
    HWINEVENTHOOK hook = ::SetWinEventHook(event, event, nullptr, OnWindowEvent, 0, 0,
                                           WINEVENT_OUTOFCONTEXT | skipOwn);
    // A system that refuses one hook hears nothing reliably: the program then looks for
    // changes itself.
    if (hook == nullptr) {
      WatchWindowEvents(nullptr);
      return false;
    }
    eventHooks_.push_back(hook);
  }
  return true;
}

}  // namespace vd::win32
