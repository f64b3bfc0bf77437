// An in-memory desktop behind the window-system seam, for the unit tests: top-level windows of
// other "processes" and the program's own windows (created by the headless forms backend),
// with handle, caption, style, extended style, rectangle, visibility, Z order, top-most flag,
// layered alpha, owner window and owner process, and whether it refuses the program changes; a
// cursor; a hotkey table; an in-memory registry; profile files on the real file system with the
// rules of the Windows profile functions; and a virtual clock that Sleep advances. Every call
// through the seam is recorded, so a test can assert "window 918 got ShowWindow(0)".
//
// Only behaviour that the conformance suite also checks against the real system may be relied
// upon by the logic's tests.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/WindowSystem.h"

namespace vd::fake {

// A UTF-8 text's length in UTF-16 units, as the system counts a caption; and its longest start
// that fits in `units` of them without splitting a character.
size_t Utf16Length(const std::string& utf8);
std::string FirstUtf16Units(const std::string& utf8, size_t units);

// One recorded call: its name ("ShowWindow") and its arguments as text ({"918", "0"}).
struct Call {
  std::string name;
  std::vector<std::string> args;
};

// What a window of the fake desktop receives: the message sink plays the window procedure.
using MessageSink = std::function<intptr_t(uint32_t msg, uintptr_t wParam, intptr_t lParam)>;

// A live thumbnail registered and not yet given up, with the properties last set.
struct Thumbnail {
  Hwnd destination = 0, source = 0;
  WindowSystem::ThumbnailProperties properties;
};

struct WindowTraits {
  std::string caption;
  uint32_t style = WS_VISIBLE | WS_BORDER | WS_CAPTION;
  uint32_t exStyle = 0;
  Rect rect{100, 100, 500, 400};
  uint32_t process = 2;  // owner process id; the program itself is process 1
  Hwnd parent = 0;       // a child window when not 0; its rect is relative to the parent
  Hwnd owner = 0;        // the window that owns this top-level one (a dialog's main window)
};

class FakeWindowSystem : public WindowSystem {
 public:
  FakeWindowSystem();
  ~FakeWindowSystem() override;

  // The process the program's own windows belong to; the test's windows use others.
  static constexpr uint32_t kProgramProcess = 1;

  // ---- The desktop, driven by tests ----------------------------------------------------------
  // Creates a window at the top of its Z order (top-level or among its parent's children).
  // Visibility follows WS_VISIBLE in the style. Handles are unique, ascending, never reused.
  Hwnd CreateWindow(const WindowTraits& desc);
  void DestroyWindow(Hwnd hwnd);  // children go with it; the caption then reads empty
  void SetCaption(Hwnd hwnd, const std::string& caption);
  void SetMessageSink(Hwnd hwnd, MessageSink sink);
  // Brings the window to the top of the Z order and makes it the foreground window.
  void Activate(Hwnd hwnd);
  void SetCursor(Point point);
  // Simulates the user pressing a combination: WM_HOTKEY with the id registered for it is
  // delivered to the registering window's sink. False when no id holds the combination.
  bool PressHotkey(uint32_t modifiers, uint32_t virtualKey);
  // Marks a combination as held by another program: RegisterHotKey of it then fails.
  void HoldHotkeyElsewhere(uint32_t modifiers, uint32_t virtualKey);
  void SetHung(Hwnd hwnd, bool hung);
  // The compositor cloaks the window, or stops cloaking it.
  void SetCloaked(Hwnd hwnd, bool cloaked);
  // Window events: the fake reports the destruction, renaming (by SetCaption), activation and
  // the compositor's cloak of other processes' top-level windows at once. Withheld, none reaches
  // the program (as events the system dropped); not offered, WatchWindowEvents answers false from
  // then on.
  void WithholdWindowEvents(bool withheld);
  void SetWindowEventsOffered(bool offered);
  // The system's own desktops: the window is put on one (0: on none, shown on whichever is
  // current), and the user changes the current one. A window on another one reads cloaked.
  void PutOnSystemDesktop(Hwnd hwnd, int desktop);
  void SwitchSystemDesktop(int desktop);
  // From now on the system refuses the program every change to the window, as to a window of
  // an application run as administrator: ShowWindow, SetWindowPos, MoveWindow, the style
  // changes of SetWindowLongA and SetLayeredWindowAttributes change nothing (and those that
  // answer success answer failure). RefusesChanges reads true at once when the refusal can be
  // known beforehand, else from the first refused call.
  void RefuseChanges(Hwnd hwnd, bool knownBeforehand);
  // Runs `hook` at each call of the program, before the call acts (not again for the calls the
  // hook itself makes): stands for the messages that the system delivers to the program while
  // a call waits, whose handlers may change the desktop and the program's state.
  void SetCallHook(std::function<void(const Call& call)> hook);
  // The picture CaptureWindow returns for the window (a plain fill of its size by default).
  void SetWindowPicture(Hwnd hwnd, Bitmap picture);
  void SetScreen(int widthPx, int heightPx);
  void SetProgramFolder(const std::string& folder);
  // The user's application-data folder (the host's temporary folder until set).
  void SetApplicationDataFolder(const std::string& folder);
  // From now on nothing can be written in the folder, as in a program folder under Program
  // Files: CanWriteInFolder answers false, and WritePrivateProfileStringW and ReplaceFileWith
  // into it fail and change nothing.
  void RefuseWritesIn(const std::string& folder);
  void SetSecondInstance(bool anotherCopyRuns);  // AcquireSingleInstance then answers false
  // Makes a registry key exist ("HKCU\\Software\\Vendor"), as an installer or another
  // program would; the Run key exists from the start, as on every Windows.
  void CreateRegistryKey(const std::string& path);
  // The next `count` calls of ReplaceFileWith fail and change nothing, as on a disk that
  // refuses the write.
  void FailFileReplacements(int count);
  // Whether live thumbnails are offered; off from the start, as under Wine. Turning them off
  // keeps the registrations, which the program must still give up.
  void SetThumbnailsOffered(bool offered);
  // The thumbnails registered and not given up, in the order they were registered.
  std::vector<Thumbnail> Thumbnails() const;

  // Handlers the test installs for the two system dialogs; without one, ChooseColorW cancels
  // and MessageBoxW answers IDCANCEL.
  std::function<bool(uint32_t* color)> onChooseColor;
  std::function<int(const std::string& text, const std::string& caption, uint32_t style)>
      onMessageBox;

  // ---- Inspection ----------------------------------------------------------------------------
  bool Exists(Hwnd hwnd) const;
  bool IsTopMost(Hwnd hwnd) const;
  // The layered alpha, or -1 when the window is not layered.
  int Alpha(Hwnd hwnd) const;
  std::vector<Hwnd> ZOrder() const;  // top-level windows, top first
  uint32_t VirtualTimeMs() const;    // advanced by Sleep and AdvanceTime
  void AdvanceTime(uint32_t ms);
  bool ProcessEnded() const;
  const std::vector<Call>& Calls() const;
  void ClearCalls();
  // The recorded calls of one name on one window ("ShowWindow", 918), in order.
  std::vector<Call> CallsOn(const std::string& name, Hwnd hwnd) const;
  std::vector<NotifyIconData> TrayIcons() const;  // icons currently added
  // The registry as it stands: "HKCU\\path\\to\\key" -> value name -> data.
  const std::map<std::string, std::map<std::string, std::string>>& Registry() const;

  // ---- WindowSystem ----------------------------------------------------------------------------
  bool ShowWindow(Hwnd hwnd, int cmd) override;
  bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy,
                    uint32_t flags) override;
  bool MoveWindow(Hwnd hwnd, int x, int y, int width, int height, bool repaint) override;
  Hwnd GetWindow(Hwnd hwnd, uint32_t cmd) override;
  std::vector<Hwnd> TopLevelWindows() override;
  int GetWindowTextLengthW(Hwnd hwnd) override;
  std::string GetWindowTextW(Hwnd hwnd) override;
  int32_t GetWindowLongA(Hwnd hwnd, int index) override;
  int32_t SetWindowLongA(Hwnd hwnd, int index, int32_t value) override;
  Hwnd GetForegroundWindow() override;
  bool SetForegroundWindow(Hwnd hwnd) override;
  bool GetWindowRect(Hwnd hwnd, Rect* rect) override;
  bool IsWindow(Hwnd hwnd) override;
  bool IsWindowVisible(Hwnd hwnd) override;
  uint32_t GetWindowThreadProcessId(Hwnd hwnd) override;
  bool IsHungAppWindow(Hwnd hwnd) override;
  bool IsWindowCloaked(Hwnd hwnd) override;
  bool IsOnCurrentSystemDesktop(Hwnd hwnd) override;
  bool WatchWindowEvents(WindowEventHandler handler) override;
  bool RefusesChanges(Hwnd hwnd) override;
  bool SetLayeredWindowAttributes(Hwnd hwnd, uint32_t colorKey, uint8_t alpha,
                                  uint32_t flags) override;
  bool GetLayeredWindowAttributes(Hwnd hwnd, uint32_t* colorKey, uint8_t* alpha,
                                  uint32_t* flags) override;
  bool GetCursorPos(Point* point) override;
  Hwnd WindowFromPoint(Point point) override;
  bool ReleaseCapture() override;
  intptr_t SendMessageA(Hwnd hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam) override;
  bool PostMessageA(Hwnd hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam) override;
  bool SendMessageTimeoutA(Hwnd hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam,
                           uint32_t timeoutMs, intptr_t* result) override;
  bool RegisterHotKey(Hwnd hwnd, int id, uint32_t modifiers, uint32_t virtualKey) override;
  bool UnregisterHotKey(Hwnd hwnd, int id) override;
  Bitmap CaptureWindow(Hwnd hwnd, bool client, int left, int top, int width, int height) override;
  Bitmap PrintWindow(Hwnd hwnd, bool fullContent) override;
  bool ThumbnailsOffered() override;
  ThumbnailId RegisterThumbnail(Hwnd destination, Hwnd source) override;
  bool UpdateThumbnail(ThumbnailId id, const ThumbnailProperties& properties) override;
  bool UnregisterThumbnail(ThumbnailId id) override;
  void Sleep(uint32_t milliseconds) override;
  uint32_t GetTickCount() override;
  int GetSystemMetrics(int index) override;
  uint32_t GetSysColor(int index) override;
  std::vector<std::pair<std::string, std::string>> GetPrivateProfileSectionW(
      const std::string& section, const std::string& fileName) override;
  uint32_t GetPrivateProfileStringW(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, char* buffer, uint32_t size,
                                    const std::string& fileName) override;
  bool WritePrivateProfileStringW(const std::string& section, const std::string& key,
                                  const std::string& value, const std::string& fileName) override;
  int32_t RegOpenKeyExW(uintptr_t root, const std::string& subKey, uint32_t access,
                        RegKey* result) override;
  int32_t RegSetValueExW(RegKey key, const std::string& valueName, uint32_t type,
                         const std::string& data, uint32_t length) override;
  int32_t RegQueryValueExW(RegKey key, const std::string& valueName, std::string* data) override;
  int32_t RegDeleteValueW(RegKey key, const std::string& valueName) override;
  int32_t RegCloseKey(RegKey key) override;
  bool Shell_NotifyIconW(uint32_t message, const NotifyIconData& data) override;
  bool ChooseColorW(Hwnd owner, uint32_t* color, std::array<uint32_t, 16>* custom) override;
  std::string AnsiToUtf8(const std::string& ansi) override;
  std::string Utf8ToAnsi(const std::string& utf8) override;
  int MessageBoxW(Hwnd owner, const std::string& text, const std::string& caption,
                  uint32_t style) override;
  bool AcquireSingleInstance() override;
  std::string ProgramFolder() override;
  std::string ApplicationDataFolder() override;
  bool CanWriteInFolder(const std::string& folder) override;
  bool CreateFolder(const std::string& folder) override;
  bool ReplaceFileWith(const std::string& to, const std::string& from) override;
  void ExitProcess(uint32_t exitCode) override;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace vd::fake
