// The test harness itself: the windows winmaker.exe makes are what it says they are, the
// screenshots hold what the screen showed, and no process outlives its test. Every end-to-end
// check of the program rests on these.
#include <objbase.h>
#include <wincodec.h>

#include "E2eTest.h"

namespace vde2e {
namespace {

class WinMakerWindows : public E2eTest {};

POINT ClientCentre(HWND hwnd) {
  RECT client{};
  GetClientRect(hwnd, &client);
  POINT p{client.right / 2, client.bottom / 2};
  ClientToScreen(hwnd, &p);
  return p;
}

bool Answers(HWND hwnd, UINT timeoutMs) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

TEST_F(WinMakerWindows, OpenMakesAVisibleWindowThatFillsItselfWithItsColour) {
  HWND hwnd = Maker().Open("Probe A", 200, 150, 320, 200, "color 0x3366CC");
  ASSERT_NE(hwnd, nullptr);
  WindowFacts facts = ReadWindowFacts(hwnd);
  EXPECT_TRUE(facts.visible) << facts;
  EXPECT_EQ(facts.caption, "Probe A");
  EXPECT_EQ(facts.rect.left, 200);
  EXPECT_EQ(facts.rect.top, 150);
  EXPECT_EQ(facts.Width(), 320);
  EXPECT_EQ(facts.Height(), 200);
  EXPECT_FALSE(facts.Borderless()) << "a normal window has a frame: " << facts;

  POINT p = ClientCentre(hwnd);
  RECT client{};
  GetClientRect(hwnd, &client);
  POINT corner{client.right - 2, client.bottom - 2};
  ClientToScreen(hwnd, &corner);
  EXPECT_TRUE(ShotUntil("colour", [&](const vdtools::Image& shot) {
    return shot.ColorAt(p.x, p.y) == 0x3366CC && shot.ColorAt(corner.x, corner.y) == 0x3366CC;
  }));
}

TEST_F(WinMakerWindows, OptionsGiveTheAskedStyles) {
  HWND popup = Maker().Open("Popup", 10, 10, 100, 80, "style noborder");
  HWND hidden = Maker().Open("Hidden", 120, 10, 100, 80, "style hidden");
  HWND tool = Maker().Open("Tool", 230, 10, 100, 80, "style tool");
  HWND top = Maker().Open("On top", 340, 10, 100, 80, "topmost");
  HWND glass = Maker().Open("Glass", 450, 10, 100, 80, "alpha 128");
  ASSERT_TRUE(popup && hidden && tool && top && glass);

  EXPECT_TRUE(ReadWindowFacts(popup).Borderless()) << ReadWindowFacts(popup);
  EXPECT_TRUE(ReadWindowFacts(popup).visible);
  EXPECT_FALSE(ReadWindowFacts(hidden).visible);
  EXPECT_TRUE(ReadWindowFacts(tool).exStyle & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(ReadWindowFacts(top).topmost);
  EXPECT_FALSE(ReadWindowFacts(popup).topmost);
  std::optional<BYTE> alpha = ReadWindowFacts(glass).alpha;
  ASSERT_TRUE(alpha.has_value()) << ReadWindowFacts(glass);
  EXPECT_EQ(*alpha, 128);
  EXPECT_FALSE(ReadWindowFacts(popup).alpha.has_value());

  EXPECT_FALSE(Maker().Send("open Popup 0 0 10 10").ok) << "two windows may not share a caption";
  EXPECT_FALSE(Maker().Send("open Bad 0 0 10 10 style wobbly").ok);
}

TEST_F(WinMakerWindows, CommandsActOnTheNamedWindow) {
  HWND a = Maker().Open("Alpha one", 100, 100, 300, 200);
  HWND b = Maker().Open("Beta", 500, 100, 300, 200);
  ASSERT_TRUE(a && b);

  EXPECT_TRUE(Maker().Front("Alpha one"));
  EXPECT_EQ(GetForegroundWindow(), a);
  EXPECT_TRUE(Maker().Front("Beta"));
  EXPECT_EQ(GetForegroundWindow(), b);

  MakerReply renamed = Maker().Send("caption \"Alpha one\" \"Alpha two\"");
  ASSERT_TRUE(renamed.ok) << renamed.text;
  EXPECT_EQ(renamed.hwnd, a);
  EXPECT_EQ(ReadWindowFacts(a).caption, "Alpha two");
  EXPECT_FALSE(Maker().Send("hide \"Alpha one\"").ok) << "the old caption names nothing now";

  EXPECT_TRUE(Maker().Send("move Beta 40 300 250 150").ok);
  WindowFacts moved = ReadWindowFacts(b);
  EXPECT_EQ(moved.rect.left, 40);
  EXPECT_EQ(moved.rect.top, 300);
  EXPECT_EQ(moved.Width(), 250);
  EXPECT_EQ(moved.Height(), 150);

  EXPECT_TRUE(Maker().Send("hide Beta").ok);
  EXPECT_FALSE(IsWindowVisible(b));
  EXPECT_TRUE(Maker().Send("show Beta").ok);
  EXPECT_TRUE(IsWindowVisible(b));

  EXPECT_TRUE(Maker().Close("Beta"));
  EXPECT_FALSE(IsWindow(b));
  EXPECT_TRUE(IsWindow(a));
  EXPECT_FALSE(Maker().Close("Beta"));
}

TEST_F(WinMakerWindows, HangStallsOnlyThatWindowForAWhile) {
  HWND stuck = Maker().Open("Stuck", 100, 100, 200, 150);
  HWND lively = Maker().Open("Lively", 400, 100, 200, 150);
  ASSERT_TRUE(stuck && lively);
  ASSERT_TRUE(Answers(stuck, 2000));

  ASSERT_TRUE(Maker().Send("hang Stuck 3000").ok);
  EXPECT_TRUE(WaitUntil([&] { return !Answers(stuck, 100); }, 2000))
      << "the hung window kept answering";
  EXPECT_TRUE(Answers(lively, 1000)) << "the other window hung too";
  EXPECT_TRUE(WaitUntil([&] { return Answers(stuck, 100); }, 10000))
      << "the window did not come back after its hang";
}

TEST_F(WinMakerWindows, EndOfInputEndsItAndItsWindows) {
  ChildProcess maker;
  ASSERT_TRUE(maker.Start(E2eConfig::Get().winmakerExe, "", Scratch(), true));
  ASSERT_TRUE(maker.WriteLine("open Lonely 100 100 200 150"));
  auto answer = maker.ReadLine(15000);
  ASSERT_TRUE(answer.has_value());
  ASSERT_EQ(answer->rfind("ok ", 0), 0u) << *answer;
  HWND lonely = reinterpret_cast<HWND>(static_cast<intptr_t>(std::stoll(answer->substr(3))));
  ASSERT_TRUE(IsWindow(lonely));

  maker.CloseInput();
  EXPECT_TRUE(maker.WaitExit(10000));
  EXPECT_FALSE(IsWindow(lonely));
}

class TestProcesses : public E2eTest {};

TEST_F(TestProcesses, AProcessIsEndedWhenItsOwnerGoes) {
  HANDLE watch = nullptr;
  {
    ChildProcess maker;
    ASSERT_TRUE(maker.Start(E2eConfig::Get().winmakerExe, "", Scratch(), true));
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), maker.Handle(), GetCurrentProcess(), &watch,
                                SYNCHRONIZE, FALSE, 0));
    ASSERT_EQ(WaitForSingleObject(watch, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  }
  EXPECT_EQ(WaitForSingleObject(watch, 0), static_cast<DWORD>(WAIT_OBJECT_0))
      << "the process outlived its owner";
  CloseHandle(watch);
}

class UserInput : public E2eTest {};

// The ids of the WM_HOTKEY messages waiting in this thread's queue, taken out of it.
std::vector<WPARAM> TakeHotkeys() {
  std::vector<WPARAM> ids;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) ids.push_back(msg.wParam);
  return ids;
}

TEST_F(UserInput, AChordFiresTheHotkeyRegisteredForItsKeys) {
  constexpr int kAlt7 = 0x5A07, kAlt8 = 0x5A08;
  ASSERT_TRUE(RegisterHotKey(nullptr, kAlt7, MOD_ALT, '7'));
  ASSERT_TRUE(RegisterHotKey(nullptr, kAlt8, MOD_ALT, '8'));
  TakeHotkeys();

  std::vector<WPARAM> fired;
  ASSERT_TRUE(PressChord({VK_MENU, '8'}));
  WaitUntil([&] {
    for (WPARAM id : TakeHotkeys()) fired.push_back(id);
    return !fired.empty();
  }, 3000);
  ASSERT_TRUE(PressChord({VK_MENU, '7'}));
  WaitUntil([&] {
    for (WPARAM id : TakeHotkeys()) fired.push_back(id);
    return fired.size() >= 2;
  }, 3000);
  UnregisterHotKey(nullptr, kAlt7);
  UnregisterHotKey(nullptr, kAlt8);
  EXPECT_EQ(fired, (std::vector<WPARAM>{kAlt8, kAlt7}));
}

TEST_F(UserInput, AClickActivatesTheWindowUnderThePointer) {
  HWND left = Maker().Open("Left", 100, 200, 300, 200, "color 0x808000");
  HWND right = Maker().Open("Right", 600, 200, 300, 200, "color 0x008080");
  ASSERT_TRUE(left && right);
  ASSERT_TRUE(Maker().Front("Right"));
  POINT p = ClientCentre(left);
  ASSERT_TRUE(ClickAt(p.x, p.y));
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == left; }, 3000))
      << "the foreground window is " << ReadWindowFacts(GetForegroundWindow());
}

TEST_F(UserInput, ADragOnTheCaptionBarMovesTheWindow) {
  HWND hwnd = Maker().Open("Dragged", 200, 200, 300, 200);
  ASSERT_NE(hwnd, nullptr);
  RECT r = ReadWindowFacts(hwnd).rect;
  POINT grip{r.left + 120, r.top + GetSystemMetrics(SM_CYSIZEFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
  ASSERT_EQ(SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(grip.x, grip.y)), HTCAPTION);
  ASSERT_TRUE(DragFromTo(grip, POINT{grip.x + 150, grip.y + 100}));
  EXPECT_TRUE(WaitUntil([&] {
    RECT now = ReadWindowFacts(hwnd).rect;
    return now.left == r.left + 150 && now.top == r.top + 100;
  }, 3000)) << ReadWindowFacts(hwnd);
}

// Decodes a PNG file with the system's own imaging codecs, into the harness's image form.
bool DecodePng(const std::string& path, vdtools::Image& out) {
  bool ok = false;
  HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  IWICImagingFactory* factory = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  std::wstring wide(path.begin(), path.end());
  UINT width = 0, height = 0;
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) &&
      SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
      SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat24bppRGB, WICBitmapDitherTypeNone,
                                      nullptr, 0, WICBitmapPaletteTypeCustom)) &&
      SUCCEEDED(converter->GetSize(&width, &height))) {
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.rgb.assign(static_cast<size_t>(width) * height * 3, 0);
    ok = SUCCEEDED(converter->CopyPixels(nullptr, width * 3, static_cast<UINT>(out.rgb.size()),
                                         out.rgb.data()));
  }
  if (converter) converter->Release();
  if (frame) frame->Release();
  if (decoder) decoder->Release();
  if (factory) factory->Release();
  if (SUCCEEDED(init)) CoUninitialize();
  return ok;
}

class Screenshots : public E2eTest {};

TEST_F(Screenshots, ThePngFileHoldsExactlyTheCapturedPixels) {
  // Flat areas, window frames and text, as in every screenshot of the program.
  ASSERT_NE(Maker().Open("Red", 100, 100, 300, 200, "color 0x0000FF"), nullptr);
  ASSERT_NE(Maker().Open("Green", 300, 250, 300, 200, "color 0x00FF00 style noborder"), nullptr);
  vdtools::Image captured;
  ASSERT_TRUE(ShotUntil("captured", [](const vdtools::Image& shot) {
    return shot.ColorAt(420, 400) == 0x00FF00;
  }, kDrawTimeoutMs, &captured));
  EXPECT_EQ(captured.width, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(captured.height, GetSystemMetrics(SM_CYSCREEN));

  const std::string path = ScratchFile("roundtrip.png");
  ASSERT_TRUE(vdtools::SavePng(captured, path));
  vdtools::Image decoded;
  ASSERT_TRUE(DecodePng(path, decoded)) << "the system's decoder refused " << path;
  ASSERT_EQ(decoded.width, captured.width);
  ASSERT_EQ(decoded.height, captured.height);
  size_t differing = 0;
  for (size_t i = 0; i < captured.rgb.size(); ++i) differing += captured.rgb[i] != decoded.rgb[i];
  EXPECT_EQ(differing, 0u);
}

}  // namespace
}  // namespace vde2e
