#include "HostPath.h"

#include <windows.h>

namespace vdtools {

std::string HostPathToWindows(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  // Wine's own conversion knows the prefix's drive mappings.
  using ToDos = WCHAR* (*)(const char*);
  auto toDos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
  if (toDos) {
    if (WCHAR* wide = toDos(path.c_str())) {
      char buffer[MAX_PATH * 4];
      int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, buffer, sizeof buffer, nullptr, nullptr);
      HeapFree(GetProcessHeap(), 0, wide);
      if (n > 0) return buffer;
    }
  }
  std::string windows = "Z:" + path;
  for (char& c : windows) {
    if (c == '/') c = '\\';
  }
  return windows;
}

}  // namespace vdtools
