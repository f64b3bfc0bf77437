// Captures what the screen shows, for the end-to-end tests and the screenshot tool.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vdtools {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // top row first, R, G, B per pixel

  // The pixel as a Windows colour value 0x00BBGGRR; 0xFFFFFFFF outside the image.
  uint32_t ColorAt(int x, int y) const;
};

// A host path handed in from the Linux side (/build/x) as a Windows program under Wine reaches
// it: through drive Z:, which Wine maps to the root. Any other path is returned as it is.
inline std::string HostPathToWindows(std::string path) {
  if (path.empty() || path[0] != '/') return path;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return "Z:" + path;
}

// The name of the environment variable through which the Wine runner hands over the file in
// which its Xvfb keeps the screen (an XWD image, updated as the X server draws).
inline constexpr char kXvfbScreenVariable[] = "VD_XVFB_SCREEN";

// The whole screen as drawn now. Under the Wine runner it is read from the Xvfb screen file,
// which is by construction what the X display shows: a copy from Wine's desktop device context
// was seen to hold the desktop background alone, without the windows on it. Elsewhere (a real
// Windows desktop) it is copied from the desktop DC.
bool CaptureScreen(Image& out);

// Reads an XWD image of 24 or 32 bits per pixel (what Xvfb keeps its screen in).
bool ReadXwd(const std::string& path, Image& out);

// Copies the screen from the desktop window's device context.
bool CaptureDesktopDc(Image& out);

bool SavePng(const Image& image, const std::string& path);

}  // namespace vdtools
