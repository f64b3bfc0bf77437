// The window-system seam forwarded to the real Win32 API (user32, gdi32, kernel32, advapi32,
// shell32, comdlg32; dwmapi loaded when first asked for, where the system has it).
#pragma once

#include <unordered_map>
#include <vector>

#include "platform/WindowSystem.h"
#include "platform/win32/OtherThreadWindows.h"
#include "platform/win32/UniqueHandle.h"

namespace vd::win32 {

class Win32WindowSystem : public WindowSystem {
 public:
  Win32WindowSystem();
  ~Win32WindowSystem() override;

  bool ShowWindow(Hwnd hwnd, int cmd) override;
  void BeginShowBatch() override;
  void EndShowBatch() override;
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
  OwnedKernelHandle instanceMutex_;  // the single-instance mutex, held for the process's life
  bool batching_ = false;            // between BeginShowBatch and EndShowBatch
  std::vector<ShowRequest> batch_;   // the shows and hides asked meanwhile

  // Rights over other processes' windows (Win32WindowRights.cpp). A call on the window that
  // failed with this last error is noted when the system refused it as access denied.
  void NoteIfRefused(HWND window, DWORD error);
  bool RunsWithHigherRights(DWORD process, HWND window);
  std::unordered_map<HWND, DWORD> refused_;  // window -> its process when it refused
  struct ProcessRights {
    bool higher = false;    // above the program's
    HWND window = nullptr;  // a window of the process it was read for: while it lives, so does
                            // the process, and its id names no other
  };
  std::unordered_map<DWORD, ProcessRights> rights_;  // by process id
  std::unordered_map<HWND, bool> windowRights_;      // whether above the program's, by window
  size_t pruneRightsAt_ = 64;                        // windowRights_'s size that drops closed ones

  // The thread and process of each window asked about: neither changes while the window lives,
  // and each question is a round trip to the system (to Wine's server), several times a window
  // in every switch. Closed windows are dropped when the map has doubled.
  struct WindowThread {
    DWORD thread = 0;
    DWORD process = 0;
  };
  WindowThread ThreadOf(HWND window);
  // The window's thread when it is another thread's; 0 for the program's own thread.
  DWORD OtherThread(HWND window);
  std::unordered_map<HWND, WindowThread> threads_;
  size_t pruneThreadsAt_ = 256;

  // The window events' hooks (Win32WindowEvents.cpp); none while nobody listens.
  std::vector<HWINEVENTHOOK> eventHooks_;
};

}  // namespace vd::win32
