// Bad input never crashes the program: a settings file or an ignore list with anything in it
// starts the program with a clear outcome (a usable grid, the built-in value where the file's
// is unusable), and captions that are empty, 10,000 characters long or in another code page
// are managed, listed and ignored as they are, byte for byte.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ProgramFixture.h"
#include "core/Text.h"
#include "dialogs/MessageDialog.h"
#include "options/OptionsDialog.h"
#include "settings/Hotkeys.h"

namespace vd::testing {
namespace {

std::string Binary(size_t size) {
  std::string bytes;
  uint32_t x = 2463534242u;
  for (size_t i = 0; i < size; ++i) {
    x ^= x << 13, x ^= x >> 17, x ^= x << 5;
    bytes += static_cast<char>(x & 0xFF);
  }
  return bytes;
}

class BadInput : public ProgramFixture {
 protected:
  // The program ends; the next one starts on the same desktop with a new toolkit.
  void Stop() {
    program.reset();
    backend = std::make_unique<forms::headless::HeadlessBackend>(&fake);
  }
  // Starts on the file with two windows of another application; the pager must come up
  // with a grid of `desktops` cells, the windows managed, and must bring a window
  // of another desktop back at the exit.
  void StartsWith(const std::string& settings, int desktops) {
    SCOPED_TRACE(::testing::Message() << "settings: " << settings.substr(0, 200));
    WriteFile("settings.ini", settings);
    const Hwnd a = OpenWindow("Editor"), b = OpenWindow("Mail", {600, 500, 1100, 900});
    AnswerMessageBoxes();
    ASSERT_TRUE(Start());
    PagerWindow& p = Pager();
    backend->Advance(300);
    EXPECT_EQ(p.Desktops().Count(), desktops);
    EXPECT_GT(p.geometry.CellWidth(), 0);
    EXPECT_GT(p.geometry.CellHeight(), 0);
    Rect r;
    ASSERT_TRUE(fake.GetWindowRect(p.hWnd(), &r));
    // Its title strip is on the screen, with the menu button: the pager can be reached.
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.left + p.menuButton.Left() + 10 <= 1280)
        << r.left << "," << r.top << " " << r.right << "," << r.bottom;
    EXPECT_TRUE(p.IsManaged(a) && p.IsManaged(b));
    // What was read is written back as it reads, and the pager's colours are usable.
    WriteSettings(fake, File("settings.ini").string(), program->settings);
    EXPECT_EQ(ReadSettings(fake, File("settings.ini").string()), program->settings);
    EXPECT_NE(program->settings.colorSelected, program->settings.colorNormal);
    if (p.Desktops().Count() >= 2) {
      p.Desktops().Place(2, b, 0, 0, 0, 0);
      p.Desktops().Open(1);
      EXPECT_FALSE(fake.IsWindowVisible(b));
    }
    p.CloseAll();
    EXPECT_TRUE(fake.IsWindowVisible(a) && fake.IsWindowVisible(b));
  }
};

std::string InSetup(const std::string& lines) { return "[SETUP]\r\n" + lines; }

TEST_F(BadInput, SettingsWithAnythingInThemStartAUsableGridWithBuiltInValuesForUnusableOnes) {
  std::string manyKeys, manySections;
  for (int i = 0; i < 5000; ++i) {
    manyKeys += "key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    manySections += "[S" + std::to_string(i) + "]\r\ncolumns=9\r\n";
  }
  const struct {
    std::string settings;
    int desktops;
  } cases[] = {
      {Binary(64 * 1024), 6},
      // A line of megabytes reads as its first 127 characters: no number.
      {InSetup("columns=" + std::string(1 << 20, '7') + "\r\nrows=2\r\nwidth=30\r\n"), 6},
      {InSetup(manyKeys + "columns=2\r\nrows=2\r\n"), 4},
      {manySections + InSetup("columns=4\r\nrows=1\r\n"), 4},
      {InSetup("columns=0\r\nrows=0\r\n"), 1},
      {InSetup("columns=-3\r\nrows=2\r\n"), 2},
      {InSetup("columns=12\r\nrows=99\r\nwidth=100\r\nheight=100\r\n"), 81},
      {InSetup("columns=three\r\nrows=1\r\n"), 3},
      {InSetup("columns=2\r\nrows=70000\r\n"), 18},
      {InSetup("columns=2\r\nrows=2\r\nwidth=-50\r\nheight=1e30\r\nleft=-99999\r\n"
               "top=3.4e38\r\ntransparent=7\r\nhide=-1,999\r\ncolor_normal=abc\r\n"
               "color_selected=-1\r\ncolor_box=99999999999\r\n"
               "[ALERT]\r\nenabled=1\r\ndesktop=80\r\nkey1=9\r\nkey2=-4\r\n"
               "[HOTKEYS]\r\n1=3,50,1\r\n2=-1,7,1\r\n3=0,9999,1\r\n4=x\r\n5=,,\r\n"),
       4},
      {"columns=2\r\nrows=2\r\n[ALERT]\r\nenabled=1\r\n", 6},  // no [SETUP] section
      {"", 6},
  };
  for (const auto& c : cases) {
    StartsWith(c.settings, c.desktops);
    Stop();
  }
}

// ---- The ignore list ------------------------------------------------------------------------

TEST_F(BadInput, AnIgnoreListOfAnythingHoldsEachCaptionOnceAndAtMost1000) {
  std::string many;
  for (int i = 0; i < 5000; ++i) many += "Window " + std::to_string(i % 1500) + "\r\n";
  const std::string huge(2 << 20, 'h');
  for (const std::string& content :
       {Binary(256 * 1024), many, "Notes\r\n" + huge + "\r\n" + huge + "\n" + huge}) {
    WriteFile("ignore.list", content);
    ASSERT_TRUE(Start());
    PagerWindow& p = Pager();
    const std::vector<std::string> list = p.ignoreList.Titles();
    EXPECT_LE(list.size(), 1000u);
    EXPECT_EQ(std::set<std::string>(list.begin(), list.end()).size(), list.size());
    p.CloseAll();
    ASSERT_TRUE(Restart());  // what was saved reads back as it was
    EXPECT_EQ(Pager().ignoreList.Titles(), list);
    Stop();
  }
  // The line of megabytes was one caption like any other.
  const std::string saved = ReadFile("ignore.list");
  EXPECT_EQ(std::count(saved.begin(), saved.end(), 'h'), static_cast<long>(huge.size()));
}

// ---- Captions -------------------------------------------------------------------------------

TEST_F(BadInput, CaptionsEmptyLongOrOfAnotherCodePageAreManagedListedAndIgnoredByteForByte) {
  WriteFile("settings.ini", InSetup("columns=2\r\nrows=1\r\n"));
  const std::string longCaption = "L" + std::string(9998, 'o') + "g";
  const std::string codePage = "Caf\xe9 \xc4\xd6\xdc \x80\x9f\xff";
  const Hwnd untitled = OpenWindow("");
  const Hwnd longWindow = OpenWindow(longCaption);
  const Hwnd foreign = OpenWindow(codePage);
  ASSERT_TRUE(Start());
  PagerWindow& p = Pager();
  EXPECT_FALSE(p.IsManaged(untitled));
  ASSERT_TRUE(p.IsManaged(longWindow));
  ASSERT_TRUE(p.IsManaged(foreign));
  EXPECT_EQ(Record(longWindow).title, longCaption);
  EXPECT_EQ(Record(foreign).title, codePage);

  // The window menu lists them cut to 30 characters and "...", the short one as it is.
  p.cells(1).RaiseMouseUp(forms::kRightButton, 0, 10, 10);
  std::multiset<std::string> entries;
  for (int i : p.windowMenu.windowListEntries.Indexes()) {
    if (i > 0 && p.windowMenu.windowListEntries(i).Visible())
      entries.insert(p.windowMenu.windowListEntries(i).Caption());
  }
  EXPECT_EQ(entries, (std::multiset<std::string>{longCaption.substr(0, 30) + "...", codePage}));

  // A switch hides them and leaves the untitled window alone; the exit brings them back.
  p.cells(2).RaiseMouseUp(forms::kLeftButton, 0, 10, 10);
  EXPECT_FALSE(fake.IsWindowVisible(longWindow) || fake.IsWindowVisible(foreign));
  EXPECT_TRUE(fake.IsWindowVisible(untitled));
  p.cells(1).RaiseMouseUp(forms::kLeftButton, 0, 10, 10);

  // Removed into the ignore list ("Yes"), they are stored byte for byte...
  AnswerMessageBoxes();
  RecordPopups();
  choose = [&](forms::MenuItem&) { return &p.windowMenu.removeEntry; };
  for (Hwnd hwnd : {longWindow, foreign}) {
    RightClick(hwnd);
    EXPECT_FALSE(p.IsManaged(hwnd));
    EXPECT_TRUE(fake.IsWindowVisible(hwnd));
  }
  p.CloseAll();
  EXPECT_NE(ReadFile("ignore.list").find(longCaption + "\r\n" + codePage + "\r\n"),
            std::string::npos);

  // ...and matched byte for byte on the next run: one byte more, less or other is not them.
  Stop();
  const Hwnd again = OpenWindow(codePage);
  const Hwnd otherByte = OpenWindow("Caf\xc9 \xc4\xd6\xdc \x80\x9f\xff");
  const Hwnd shorter = OpenWindow(longCaption.substr(0, 9999));
  const Hwnd longAgain = OpenWindow(longCaption);
  ASSERT_TRUE(Start());
  EXPECT_FALSE(Pager().IsManaged(again));
  EXPECT_FALSE(Pager().IsManaged(longAgain));
  EXPECT_TRUE(Pager().IsManaged(otherByte));
  EXPECT_TRUE(Pager().IsManaged(shorter));
}

}  // namespace
}  // namespace vd::testing
