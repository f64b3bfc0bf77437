// screenshot.exe OUT.png: saves what the screen shows now as a PNG file. OUT.png may be a
// Windows path or, under Wine, a host path (/...).
#include "ScreenShot.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: screenshot OUT.png\n");
    return 2;
  }
  vdtools::Image image;
  if (!vdtools::CaptureScreen(image)) {
    std::fprintf(stderr, "screenshot: the screen could not be read\n");
    return 1;
  }
  const std::string path = vdtools::HostPathToWindows(argv[1]);
  if (!vdtools::SavePng(image, path)) {
    std::fprintf(stderr, "screenshot: cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("%s (%dx%d)\n", argv[1], image.width, image.height);
  return 0;
}
