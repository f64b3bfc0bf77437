// The handle owners of the Win32 side, in this process: what their live counts say, that the
// program's windows report them, and that the forms backend and the window-system seam give
// back every handle they hold.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/Menu.h"
#include "forms/win32/Win32Backend.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32WindowSystem.h"

namespace {

using vd::win32::HandleKind;
using vd::win32::LiveHandles;

constexpr int kKinds = static_cast<int>(HandleKind::kCount);

std::vector<long> AllCounts() {
  std::vector<long> counts;
  for (int k = 0; k < kKinds; ++k) counts.push_back(LiveHandles::Count(static_cast<HandleKind>(k)));
  return counts;
}

long Count(HandleKind kind) { return LiveHandles::Count(kind); }

HWND WindowOf(const forms::Control& control) {
  return reinterpret_cast<HWND>(static_cast<intptr_t>(control.hWnd()));
}

bool IsOpenHandle(HANDLE handle) {
  DWORD flags = 0;
  return GetHandleInformation(handle, &flags) != FALSE;
}

TEST(HandleOwners, CountWhatTheyHoldThroughMovesResetsAndReleases) {
  const long base = Count(HandleKind::kKernelHandle);
  {
    vd::win32::OwnedKernelHandle a(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(a);
    EXPECT_EQ(Count(HandleKind::kKernelHandle), base + 1);
    vd::win32::OwnedKernelHandle b(std::move(a));
    vd::win32::OwnedKernelHandle c;
    c = std::move(b);
    EXPECT_EQ(Count(HandleKind::kKernelHandle), base + 1) << "a move is no new handle";

    const HANDLE first = c.Get();
    c.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    EXPECT_FALSE(IsOpenHandle(first)) << "Reset closes the handle it held";
    EXPECT_EQ(Count(HandleKind::kKernelHandle), base + 1);

    const HANDLE taken = c.Release();
    EXPECT_EQ(Count(HandleKind::kKernelHandle), base) << "a released handle is the caller's";
    EXPECT_TRUE(IsOpenHandle(taken));
    CloseHandle(taken);

    vd::win32::OwnedKernelHandle none(nullptr);
    c.Reset();
    EXPECT_EQ(Count(HandleKind::kKernelHandle), base) << "no handle, nothing held";
  }
  EXPECT_EQ(Count(HandleKind::kKernelHandle), base);
}

TEST(HandleOwners, TheProgramsWindowsAnswerTheCountOfEachKind) {
  forms::win32::Win32Backend backend;
  forms::Form form(backend, "frmCounted");
  forms::PictureBox box(form, "picBox", forms::ScaleMode::kPixels);
  const UINT message = RegisterWindowMessageA(vd::win32::kLiveHandlesMessage);
  ASSERT_NE(message, 0u);
  for (HWND hwnd : {WindowOf(form), WindowOf(box)}) {
    ASSERT_NE(hwnd, nullptr);
    for (int k = 0; k < kKinds; ++k) {
      EXPECT_EQ(SendMessageA(hwnd, message, static_cast<WPARAM>(k), 0),
                LiveHandles::Count(static_cast<HandleKind>(k)))
          << "kind " << k;
    }
    EXPECT_EQ(SendMessageA(hwnd, message, static_cast<WPARAM>(kKinds), 0), -1)
        << "a kind that does not exist";
  }
  EXPECT_GE(SendMessageA(WindowOf(form), message, static_cast<WPARAM>(HandleKind::kWindow), 0), 2)
      << "the form and its picture box at least";
}

// Forms and controls made, shown, painted and destroyed again, as the pager does with the
// miniatures of windows that come and go: afterwards the owners hold what they held before.
TEST(HandleOwners, FormsAndControlsThatComeAndGoGiveBackEveryHandle) {
  const std::vector<long> before = AllCounts();
  {
    forms::win32::Win32Backend backend;
    forms::Form form(backend, "frmPainted");
    form.SetScaleMode(forms::ScaleMode::kPixels);
    form.Move(0, 0, 300 * 15, 200 * 15);
    forms::Label label(form, "lblText", "Some text");
    label.Move(4, 4, 120, 16);
    label.SetToolTipText("A tip");
    forms::Button button(form, "cmdGo", "Go");
    button.Move(4, 30, 60, 22);
    form.Show();
    const long windowsWithForm = Count(HandleKind::kWindow);
    EXPECT_GE(windowsWithForm, before[static_cast<int>(HandleKind::kWindow)] + 3);

    for (int round = 0; round < 20; ++round) {
      auto box = std::make_unique<forms::PictureBox>(form, "picWin", forms::ScaleMode::kPixels);
      box->Move(10.0f + static_cast<float>(round), 60, 80, 60);
      box->SetBackColor(0x102030u * static_cast<uint32_t>(round + 1));
      box->Surface().Fill(0x00FF00);
      box->SetVisible(true);
      RedrawWindow(WindowOf(form), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      EXPECT_EQ(Count(HandleKind::kWindowDc), before[static_cast<int>(HandleKind::kWindowDc)]);
      EXPECT_EQ(Count(HandleKind::kMemoryDc), before[static_cast<int>(HandleKind::kMemoryDc)])
          << "a paint holds its memory DC only while it paints";
    }
    EXPECT_EQ(Count(HandleKind::kWindow), windowsWithForm)
        << "every picture box's window went with it";
    form.Unload();
  }
  EXPECT_EQ(AllCounts(), before) << "the backend's windows, fonts, brushes and timer window";
}

HWND g_menuOwner = nullptr;
long g_menusWhileOpen = -1;

void CALLBACK CloseTheMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_menusWhileOpen = LiveHandles::Count(HandleKind::kMenu);
  EndMenu();
  PostMessageA(g_menuOwner, WM_CANCELMODE, 0, 0);
}

TEST(HandleOwners, APopupMenuWithASubmenuHoldsOneMenuWhileOpenAndNoneAfter) {
  forms::win32::Win32Backend backend;
  forms::Form form(backend, "frmMenu");
  form.Move(0, 0, 200 * 15, 100 * 15);
  form.Show();
  forms::MenuItem menu(nullptr, "mnuTop", "Top");
  forms::MenuItem first(&menu, "mnuFirst", "First");
  forms::MenuItem more(&menu, "mnuMore", "More");
  forms::MenuItem inner(&more, "mnuInner", "Inner");
  const long base = Count(HandleKind::kMenu);
  g_menuOwner = WindowOf(form);
  g_menusWhileOpen = -1;
  const UINT_PTR timer = SetTimer(nullptr, 0, 300, CloseTheMenu);
  ASSERT_NE(timer, 0u);
  EXPECT_EQ(backend.TrackPopupMenu(form, menu, 10, 10), nullptr) << "nothing was chosen";
  KillTimer(nullptr, timer);
  EXPECT_EQ(g_menusWhileOpen, base + 1) << "the popup, whose submenu belongs to it";
  EXPECT_EQ(Count(HandleKind::kMenu), base);
}

TEST(WindowSystemHandles, TheSingleInstanceMutexIsHeldOnceAndClosedWithItsOwner) {
  const long base = Count(HandleKind::kKernelHandle);
  auto first = std::make_unique<vd::win32::Win32WindowSystem>();
  ASSERT_TRUE(first->AcquireSingleInstance());
  EXPECT_EQ(Count(HandleKind::kKernelHandle), base + 1);
  EXPECT_TRUE(first->AcquireSingleInstance()) << "asked again, it holds it already";
  EXPECT_EQ(Count(HandleKind::kKernelHandle), base + 1);
  vd::win32::Win32WindowSystem second;
  EXPECT_FALSE(second.AcquireSingleInstance()) << "another copy runs";
  EXPECT_EQ(Count(HandleKind::kKernelHandle), base + 1) << "the second look closed its handle";
  first.reset();
  EXPECT_EQ(Count(HandleKind::kKernelHandle), base);
  EXPECT_TRUE(second.AcquireSingleInstance()) << "the first copy's mutex was really closed";
}

TEST(WindowSystemHandles, RegistryKeysCountUntilTheCallerClosesThem) {
  vd::win32::Win32WindowSystem ws;
  const long base = Count(HandleKind::kRegistryKey);
  vd::RegKey key = 0;
  ASSERT_EQ(ws.RegOpenKeyExA(0x80000001u, "Software", KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(Count(HandleKind::kRegistryKey), base + 1);
  vd::RegKey missing = 0;
  EXPECT_NE(ws.RegOpenKeyExA(0x80000001u, "Software\\No such key here", KEY_READ, &missing),
            ERROR_SUCCESS);
  EXPECT_EQ(Count(HandleKind::kRegistryKey), base + 1) << "a key not opened is not held";
  EXPECT_EQ(ws.RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(Count(HandleKind::kRegistryKey), base);
  EXPECT_NE(ws.RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(Count(HandleKind::kRegistryKey), base) << "a second close gives back nothing";
}

}  // namespace
