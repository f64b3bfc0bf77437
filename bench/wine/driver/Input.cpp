#include "Input.h"

#include <vector>

namespace vdbench {
namespace {

INPUT Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

bool Button(DWORD flag) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flag;
  return SendInput(1, &in, sizeof in) == 1;
}

// Moves the pointer the way a real mouse does: a relative move event reaches the program as
// WM_MOUSEMOVE; SetCursorPos first puts it exactly where asked.
bool MoveTo(int x, int y) {
  if (!SetCursorPos(x, y)) return false;
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = MOUSEEVENTF_MOVE;  // dx = dy = 0: a move event at the new place
  return SendInput(1, &in, sizeof in) == 1;
}

}  // namespace

bool PressChord(std::initializer_list<WORD> keys) {
  std::vector<INPUT> events;
  for (WORD vk : keys) events.push_back(Key(vk, false));
  for (auto it = keys.end(); it != keys.begin();) events.push_back(Key(*--it, true));
  return SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT)) == events.size();
}

bool ClickAt(int x, int y, bool rightButton) {
  if (!MoveTo(x, y)) return false;
  Sleep(20);
  bool down = Button(rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
  Sleep(20);
  bool up = Button(rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
  return down && up;
}

}  // namespace vdbench
