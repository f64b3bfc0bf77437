// The fake desktop's pictures, clock and screen facts: window copies (the picture a test gave
// the window, else a plain fill of its size), live thumbnails (registrations kept with their
// properties, refused while they are not offered, as under Wine), the virtual clock that Sleep
// advances, the screen's size and twips per pixel, and the system colours of a fresh Wine prefix.
#include <iterator>

#include "platform/fake/FakeState.h"
#include "platform/fake/FakeWindowSystem.h"

namespace vd::fake {

namespace {

constexpr uint32_t kDefaultFill = 0x00F5F5F5;  // the button-face colour, as an unpainted capture

// The system colours of a fresh Wine prefix, where the program's end-to-end tests run
// (index 0 to 30: COLOR_SCROLLBAR to COLOR_MENUBAR).
constexpr uint32_t kSysColors[] = {
    0x00FFFFFF, 0x00956F25, 0x00FA9632, 0x00808080, 0x00FFFFFF, 0x00FFFFFF, 0x009E9E9E, 0x00000000,
    0x00000000, 0x00000000, 0x00FFFFFF, 0x00FFFFFF, 0x00808080, 0x00FA9630, 0x00FFFFFF, 0x00F5F5F5,
    0x00A6A6A6, 0x00A6A6A6, 0x00000000, 0x00C8C8C8, 0x00FFFFFF, 0x006A6A6A, 0x00E3E3E3, 0x00000000,
    0x00FFFFFF, 0x00FFFFFF, 0x00E0E0E0, 0x00FA9632, 0x00808080, 0x00FA9630, 0x00FFFFFF,
};

}  // namespace

// ---- Capture ------------------------------------------------------------------------------------

Bitmap FakeWindowSystem::CaptureWindow(Hwnd hwnd, bool client, int left, int top, int width,
                                       int height) {
  State& s = *state_;
  s.Record("CaptureWindow", {Dec(hwnd), Dec(client), Dec(left), Dec(top), Dec(width), Dec(height)});
  const State::Window* window = s.Find(hwnd);
  if (!window || width <= 0 || height <= 0) return Bitmap();
  // Outside the window's picture the copy stays black, as a copy from beyond a device context.
  Bitmap result(width, height, 0);
  if (window->picture) {
    result.Blit(0, 0, *window->picture, left, top, width, height);
  } else {
    const Rect rect = s.ScreenRect(hwnd);
    const Bitmap plain(rect.Width(), rect.Height(), kDefaultFill);
    result.Blit(0, 0, plain, left, top, width, height);
  }
  return result;
}

Bitmap FakeWindowSystem::PrintWindow(Hwnd hwnd, bool fullContent) {
  State& s = *state_;
  s.Record("PrintWindow", {Dec(hwnd), Dec(fullContent)});
  const State::Window* window = s.Find(hwnd);
  if (!window) return Bitmap();
  if (window->picture) return *window->picture;
  const Rect rect = s.ScreenRect(hwnd);
  if (rect.Width() <= 0 || rect.Height() <= 0) return Bitmap();
  return Bitmap(rect.Width(), rect.Height(), kDefaultFill);
}

// ---- Live thumbnails ---------------------------------------------------------------------------

void FakeWindowSystem::SetThumbnailsOffered(bool offered) { state_->thumbnailsOffered = offered; }

std::vector<Thumbnail> FakeWindowSystem::Thumbnails() const {
  std::vector<Thumbnail> live;
  for (const auto& [id, thumbnail] : state_->thumbnails) live.push_back(thumbnail);
  return live;
}

bool FakeWindowSystem::ThumbnailsOffered() {
  state_->Record("ThumbnailsOffered", {});
  return state_->thumbnailsOffered;
}

WindowSystem::ThumbnailId FakeWindowSystem::RegisterThumbnail(Hwnd destination, Hwnd source) {
  State& s = *state_;
  s.Record("RegisterThumbnail", {Dec(destination), Dec(source)});
  // Drawn into a top-level window, of another window.
  const State::Window* into = s.Find(destination);
  if (!s.thumbnailsOffered || into == nullptr || into->parent != 0 || !s.Find(source) ||
      source == destination) {
    return 0;
  }
  const ThumbnailId id = s.nextThumbnail++;
  s.thumbnails[id] = Thumbnail{destination, source, {}};
  return id;
}

bool FakeWindowSystem::UpdateThumbnail(ThumbnailId id, const ThumbnailProperties& properties) {
  State& s = *state_;
  const Rect& d = properties.destination;
  s.Record("UpdateThumbnail", {Dec(uint64_t{id}), Dec(d.left), Dec(d.top), Dec(d.right),
                               Dec(d.bottom), Dec(properties.visible)});
  auto it = s.thumbnails.find(id);
  if (it == s.thumbnails.end()) return false;
  it->second.properties = properties;
  return true;
}

bool FakeWindowSystem::UnregisterThumbnail(ThumbnailId id) {
  state_->Record("UnregisterThumbnail", {Dec(uint64_t{id})});
  return state_->thumbnails.erase(id) != 0;
}

// ---- Time ---------------------------------------------------------------------------------------

void FakeWindowSystem::Sleep(uint32_t milliseconds) {
  state_->Record("Sleep", {Dec(milliseconds)});
  state_->clock += milliseconds;
}

uint32_t FakeWindowSystem::GetTickCount() {
  state_->Record("GetTickCount", {});
  return state_->clock;
}

// ---- Screen facts -------------------------------------------------------------------------------

int FakeWindowSystem::GetSystemMetrics(int index) {
  state_->Record("GetSystemMetrics", {Dec(index)});
  if (index == SM_CXSCREEN) return state_->screenWidth;
  if (index == SM_CYSCREEN) return state_->screenHeight;
  return 0;
}

uint32_t FakeWindowSystem::GetSysColor(int index) {
  state_->Record("GetSysColor", {Dec(index)});
  constexpr int kCount = static_cast<int>(std::size(kSysColors));
  return (index >= 0 && index < kCount) ? kSysColors[index] : 0;
}

}  // namespace vd::fake
