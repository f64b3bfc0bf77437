// The window-system seam: every operation the program performs on other applications' windows
// and on the system (profile files, registry, tray, dialogs, timing, screen facts). The logic
// only ever talks to this interface; win32/ forwards to the real API, fake/ is an in-memory
// desktop for the unit tests. Functions are named after the Win32 calls they stand for and
// keep their argument conventions, so the logic reads like the calls it makes. Every text
// crossing the seam is UTF-8: the calls that carry text stand for the system's wide (W) calls,
// and the Windows side converts to and from UTF-16 at the call.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Win32Constants.h"

namespace vd {

// Window handles are 32-bit significant on 64-bit Windows too; the program keeps them as int32_t.
using Hwnd = int32_t;

struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

struct Point {
  int32_t x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

// An opened registry key; 0 is "no key".
using RegKey = uintptr_t;

// The notification-area icon record (the NOTIFYICONDATA fields the program uses).
struct NotifyIconData {
  Hwnd hwnd = 0;
  uint32_t id = 0;
  uint32_t flags = 0;
  uint32_t callbackMessage = 0;
  uintptr_t icon = 0;  // 0: the program's own application icon
  std::string tip;     // at most 127 UTF-16 units reach the shell, cut between characters
};

// What the system reports of a top-level window of another application as it happens.
// (Its creation, showing and hiding are not among them: a new window is taken on when it comes
// to the front, and the program's own switches would hear back of every window they show and
// hide.)
enum class WindowEvent {
  kDestroyed,
  kRenamed,     // its caption changed
  kForeground,  // it came to the front
  kMoved,       // the user moved, sized, minimised or restored it
  kCloaked,     // the compositor took it out of sight (also: moved to another system desktop)
  kUncloaked,
};
using WindowEventHandler = std::function<void(WindowEvent event, Hwnd hwnd)>;

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // ---- Top-level windows -------------------------------------------------------------------
  virtual bool ShowWindow(Hwnd hwnd, int cmd) = 0;  // SW_HIDE, SW_SHOW, SW_SHOWNA, SW_MINIMIZE
  // Between these two calls, windows of other applications shown or hidden may do it together:
  // ShowWindow asks and returns, EndShowBatch waits until every window asked has done it (or
  // does not answer). A second BeginShowBatch before the end continues the same batch. Where
  // showing is immediate, both do nothing.
  virtual void BeginShowBatch() {}
  virtual void EndShowBatch() {}
  virtual bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy,
                            uint32_t flags) = 0;
  virtual bool MoveWindow(Hwnd hwnd, int x, int y, int width, int height, bool repaint) = 0;
  // GW_HWNDFIRST (0) with any window gives the top of the Z order; GW_HWNDNEXT (2) the next one
  // down; 0 when there is none.
  virtual Hwnd GetWindow(Hwnd hwnd, uint32_t cmd) = 0;
  // Every top-level window, top of the Z order first, read in one call (EnumDesktopWindows;
  // Wine lists message-only windows after them): the refresh learns from it which windows were
  // closed without asking each window.
  virtual std::vector<Hwnd> TopLevelWindows() = 0;
  // The caption's length in UTF-16 units; 0 for none.
  virtual int GetWindowTextLengthW(Hwnd hwnd) = 0;
  // The whole caption, in any script; empty for a handle that names no window.
  virtual std::string GetWindowTextW(Hwnd hwnd) = 0;
  virtual int32_t GetWindowLongA(Hwnd hwnd, int index) = 0;  // GWL_STYLE, GWL_EXSTYLE
  virtual int32_t SetWindowLongA(Hwnd hwnd, int index, int32_t value) = 0;  // returns previous
  virtual Hwnd GetForegroundWindow() = 0;
  virtual bool SetForegroundWindow(Hwnd hwnd) = 0;
  virtual bool GetWindowRect(Hwnd hwnd, Rect* rect) = 0;
  virtual bool IsWindow(Hwnd hwnd) = 0;
  virtual bool IsWindowVisible(Hwnd hwnd) = 0;
  virtual uint32_t GetWindowThreadProcessId(Hwnd hwnd) = 0;  // the owning process id
  virtual bool IsHungAppWindow(Hwnd hwnd) = 0;

  // ---- What the user can see of a window ---------------------------------------------------
  // Whether the compositor keeps the visible window out of sight (a suspended app, a window of
  // another of the system's own desktops); false where the system does not cloak windows.
  virtual bool IsWindowCloaked(Hwnd hwnd) = 0;
  // Whether the window is on the system's own desktop that the user is on; true where the
  // system has no desktops of its own, and for a window it puts on none.
  virtual bool IsOnCurrentSystemDesktop(Hwnd hwnd) = 0;

  // ---- Window events -----------------------------------------------------------------------
  // From now on the handler hears of the top-level windows of every other process as they are
  // destroyed, renamed, brought to the front or moved by the user, and cloaked or uncloaked by
  // the compositor, and of the program's own windows as they come to the front (SetWinEventHook out
  // of context: the handler runs on the program's thread while it waits for messages, also inside a
  // call that waits, such as showing another application's window). A null handler stops the
  // reports. False when the system reports nothing; the program must then look for changes itself.
  // The system may leave out a kind it does not have (Wine never cloaks) or, rarely, drop an event.
  virtual bool WatchWindowEvents(WindowEventHandler handler) = 0;

  // ---- Rights over a window ----------------------------------------------------------------
  // Whether the system refuses the program changes to the window for lack of rights (its
  // application runs as administrator and the program does not): showing, hiding, moving,
  // raising, restyling and layering it do nothing. Known beforehand where the system tells
  // the rights of the window's process (on Windows, an integrity level above the program's, or
  // one it will not let the program read), and true from the moment one of those calls on the
  // window was refused as access denied. A call that fails for any other reason (a closed
  // window, one that does not answer) does not count. False where the system does not refuse
  // such changes (Wine, where every process has the same rights).
  virtual bool RefusesChanges(Hwnd hwnd) = 0;

  // ---- Layered windows ---------------------------------------------------------------------
  virtual bool SetLayeredWindowAttributes(Hwnd hwnd, uint32_t colorKey, uint8_t alpha,
                                          uint32_t flags) = 0;
  virtual bool GetLayeredWindowAttributes(Hwnd hwnd, uint32_t* colorKey, uint8_t* alpha,
                                          uint32_t* flags) = 0;

  // ---- Mouse and messages ------------------------------------------------------------------
  virtual bool GetCursorPos(Point* point) = 0;
  virtual Hwnd WindowFromPoint(Point point) = 0;  // the innermost visible window at the point
  virtual bool ReleaseCapture() = 0;
  virtual intptr_t SendMessageA(Hwnd hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam) = 0;
  virtual bool PostMessageA(Hwnd hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam) = 0;
  // Sends and waits at most timeoutMs; false when the window did not answer in time.
  virtual bool SendMessageTimeoutA(Hwnd hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam,
                                   uint32_t timeoutMs, intptr_t* result) = 0;

  // ---- Hotkeys (delivered as WM_HOTKEY to the registering window) --------------------------
  virtual bool RegisterHotKey(Hwnd hwnd, int id, uint32_t modifiers, uint32_t virtualKey) = 0;
  virtual bool UnregisterHotKey(Hwnd hwnd, int id) = 0;

  // ---- Capture -----------------------------------------------------------------------------
  // Copies a rectangle of the window's device context (client area only when client is true)
  // into a new bitmap; every device context and GDI object is released before returning.
  virtual Bitmap CaptureWindow(Hwnd hwnd, bool client, int left, int top, int width,
                               int height) = 0;
  // Asks the window to render itself (PW_RENDERFULLCONTENT when fullContent).
  virtual Bitmap PrintWindow(Hwnd hwnd, bool fullContent) = 0;

  // ---- Live thumbnails ---------------------------------------------------------------------
  // Where the system composes the screen, the compositor can draw one window's live picture
  // into another window, kept up to date by the compositor itself (content drawn by the
  // graphics card included, which a copy of the device context gives as black). 0 is "no
  // thumbnail".
  using ThumbnailId = uintptr_t;
  // Where and how a thumbnail is drawn: `destination` in the destination window's client
  // pixels shows `source` of the source window (in its window rectangle, from its top-left
  // corner; an empty rectangle is the whole window), at `opacity` (255: opaque).
  struct ThumbnailProperties {
    Rect destination;
    Rect source;
    bool visible = false;
    uint8_t opacity = 255;
    bool operator==(const ThumbnailProperties&) const = default;
  };
  // Whether live thumbnails are offered (DwmIsCompositionEnabled): false where composition is
  // off or the system has no compositor (Wine), and then every registration fails.
  virtual bool ThumbnailsOffered() = 0;
  // Registers a thumbnail of `source` drawn into `destination`, a top-level window of the
  // program (DwmRegisterThumbnail); nothing is drawn until UpdateThumbnail makes it visible.
  // Answers its id, 0 when the registration failed.
  virtual ThumbnailId RegisterThumbnail(Hwnd destination, Hwnd source) = 0;
  // Sets where and how the thumbnail is drawn (DwmUpdateThumbnailProperties); false when that
  // failed (an id that names no thumbnail).
  virtual bool UpdateThumbnail(ThumbnailId id, const ThumbnailProperties& properties) = 0;
  // The thumbnail is drawn no more and its id is given up (DwmUnregisterThumbnail); also needed
  // after its source window closed. False for an id that names no thumbnail.
  virtual bool UnregisterThumbnail(ThumbnailId id) = 0;

  // ---- Time --------------------------------------------------------------------------------
  virtual void Sleep(uint32_t milliseconds) = 0;
  virtual uint32_t GetTickCount() = 0;

  // ---- Screen facts ------------------------------------------------------------------------
  virtual int GetSystemMetrics(int index) = 0;  // SM_CXSCREEN, SM_CYSCREEN
  virtual uint32_t GetSysColor(int index) = 0;

  // ---- Profile (INI) files -----------------------------------------------------------------
  // Same contract as the Win32 functions: copies at most size - 1 characters of the value into
  // buffer, always NUL-terminates, returns the number of characters copied; the default is
  // copied when the file, section or key is missing. Section and key match case-insensitively.
  virtual uint32_t GetPrivateProfileStringW(const std::string& section, const std::string& key,
                                            const std::string& defaultValue, char* buffer,
                                            uint32_t size, const std::string& fileName) = 0;
  // Every entry of a section in the file's order, read at once: names and values as
  // GetPrivateProfileStringW reads them (blanks around them left out, a value's matching quotes
  // dropped; a line without '=' is no entry). Empty when the file or the section is missing.
  virtual std::vector<std::pair<std::string, std::string>> GetPrivateProfileSectionW(
      const std::string& section, const std::string& fileName) = 0;
  // Creates the file and the section when missing; false when the file cannot be written.
  virtual bool WritePrivateProfileStringW(const std::string& section, const std::string& key,
                                          const std::string& value,
                                          const std::string& fileName) = 0;

  // Puts the file `from` in the place of `to`, replacing a file already there in one step (a
  // reader sees the old file or the new one, never neither); false when that failed, and then
  // both files are as they were.
  virtual bool ReplaceFileWith(const std::string& to, const std::string& from) = 0;

  // ---- Registry ----------------------------------------------------------------------------
  virtual int32_t RegOpenKeyExW(uintptr_t root, const std::string& subKey, uint32_t access,
                                RegKey* result) = 0;  // ERROR_SUCCESS (0) on success
  virtual int32_t RegSetValueExW(RegKey key, const std::string& valueName, uint32_t type,
                                 const std::string& data, uint32_t length) = 0;
  virtual int32_t RegQueryValueExW(RegKey key, const std::string& valueName, std::string* data) = 0;
  virtual int32_t RegDeleteValueW(RegKey key, const std::string& valueName) = 0;
  virtual int32_t RegCloseKey(RegKey key) = 0;

  // ---- Shell and common dialogs ------------------------------------------------------------
  virtual bool Shell_NotifyIconW(uint32_t message, const NotifyIconData& data) = 0;
  // Opens the colour dialog; true and the chosen colour when the user confirms.
  virtual bool ChooseColorW(Hwnd owner, uint32_t* color, std::array<uint32_t, 16>* custom) = 0;
  virtual int MessageBoxW(Hwnd owner, const std::string& text, const std::string& caption,
                          uint32_t style) = 0;  // IDYES, IDNO, IDOK, ...

  // ---- The system's ANSI code page -----------------------------------------------------------
  // Earlier versions read titles and wrote the ignore list in it. A text in the code page as
  // UTF-8; and a UTF-8 text as those versions read it (a character the page lacks becomes '?',
  // one '?' for each UTF-16 unit, or its nearest look-alike where the system has one).
  virtual std::string AnsiToUtf8(const std::string& ansi) = 0;
  virtual std::string Utf8ToAnsi(const std::string& utf8) = 0;

  // ---- Process -----------------------------------------------------------------------------
  // True for the first copy of the program in this user's logon session; a later copy gets
  // false and must end silently.
  virtual bool AcquireSingleInstance() = 0;
  // The folder that holds the program, without a trailing separator.
  virtual std::string ProgramFolder() = 0;
  // Ends the process at once (the fake records the call and returns).
  virtual void ExitProcess(uint32_t exitCode) = 0;

  // ---- Folders -----------------------------------------------------------------------------
  // The user's application-data folder (CSIDL_APPDATA, the APPDATA variable when the shell names
  // none), without a trailing separator; empty when the system names none.
  virtual std::string ApplicationDataFolder() = 0;
  // True when a file can be made in the folder: one is created there and deleted again. False
  // for a folder that does not exist.
  virtual bool CanWriteInFolder(const std::string& folder) = 0;
  // Creates the folder (its parent must exist); true when it exists afterwards, also when it
  // was there already.
  virtual bool CreateFolder(const std::string& folder) = 0;
};

}  // namespace vd
