// What vuedeck.exe carries for Windows to read before it runs: its manifest and its icon.
#include "E2eTest.h"

namespace vde2e {

// Resource 1 of a type, as bytes ("" when missing).
static std::string ResourceOf(HMODULE module, LPCSTR type) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), type);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  return bytes ? std::string(bytes, SizeofResource(module, found)) : "";
}

// Per-monitor DPI aware and run with the rights of whoever starts it; an image drawn for each
// icon size from 100 % to 300 % of the small icon, each with its alpha channel.
TEST(Resources, TheManifestDeclaresDpiAwarenessAndTheIconHoldsEverySize) {
  const std::string exe = Configured("VD_EXE");
  HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(module) << exe;
  const std::string manifest = ResourceOf(module, MAKEINTRESOURCEA(24));  // RT_MANIFEST
  EXPECT_NE(manifest.find("<dpiAwareness"), std::string::npos) << manifest;
  EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos) << manifest;
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos) << manifest;

  // The icon group's directory: a 6-byte header ending in the count, then 14 bytes an image
  // (its width first, its bits per pixel at byte 6).
  const std::string group = ResourceOf(module, MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  const auto byte = [&](size_t at) { return at < group.size() ? uint8_t(group[at]) : 0; };
  std::vector<std::pair<int, int>> images;  // width, bits per pixel
  for (size_t i = 0, count = byte(4) | byte(5) << 8; i < count; ++i) {
    images.emplace_back(byte(6 + 14 * i), byte(12 + 14 * i) | byte(13 + 14 * i) << 8);
  }
  std::sort(images.begin(), images.end());
  const std::vector<std::pair<int, int>> wanted{{16, 32}, {20, 32}, {24, 32},
                                                {32, 32}, {40, 32}, {48, 32}};
  EXPECT_EQ(images, wanted);
  FreeLibrary(module);
}

}  // namespace vde2e
