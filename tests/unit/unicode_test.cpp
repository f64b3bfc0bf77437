// Titles in any script: shortened between characters, never inside one; and ignore lists
// written by this version (UTF-8) and by earlier ones (the ANSI code page) matching the same
// windows.
#include <gtest/gtest.h>

#include <string>

#include "ProgramFixture.h"
#include "platform/Utf8.h"

namespace vd::testing {
namespace {

std::string Times(const std::string& piece, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += piece;
  return out;
}

TEST(Titles, AreShortenedToThirtyCharactersNeverInsideOne) {
  const std::string family = "\U0001F468\u200D\U0001F469\u200D\U0001F467";  // one character
  const struct {
    const char* what;
    std::string title, shown;
  } cases[] = {
      {"ASCII, 30", Times("a", 30), Times("a", 30)},
      {"ASCII, 31", Times("a", 31), Times("a", 30) + "..."},
      {"accented Latin", "R\u00e9sum\u00e9 " + Times("\u00e9", 30),
       "R\u00e9sum\u00e9 " + Times("\u00e9", 23) + "..."},
      {"Cyrillic", Times("\u0416", 31), Times("\u0416", 30) + "..."},
      {"CJK", Times("\u65e5\u672c\u8a9e", 11), Times("\u65e5\u672c\u8a9e", 10) + "..."},
      {"emoji, surrogate pairs in UTF-16", Times("\U0001F600", 31),
       Times("\U0001F600", 30) + "..."},
      {"accents that combine", Times("e\u0301", 31), Times("e\u0301", 30) + "..."},
      {"a family joined into one", Times("a", 29) + family + "b", Times("a", 29) + family + "..."},
      {"flags", Times("\U0001F1EF\U0001F1F5", 31), Times("\U0001F1EF\U0001F1F5", 30) + "..."},
      {"emoji with skin tone, 30", Times("\U0001F44D\U0001F3FD", 30),
       Times("\U0001F44D\U0001F3FD", 30)},
      {"invalid bytes, one character each", Times("\xff", 31), Times("\xff", 30) + "..."},
      {"a sequence cut short", Times("a", 28) + "\xe6\x97" + "b", Times("a", 28) + "\xe6\x97..."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShortTitle(c.title, 30), c.shown) << c.what;
  }
}

class IgnoreListFiles : public ProgramFixture {};

TEST_F(IgnoreListFiles, ListsOfEveryVersionKeepTheirWindowsUnmanaged) {
  const struct {
    const char* what;
    std::string file, window;
    bool ignored;
  } cases[] = {
      {"UTF-8 with a byte order mark", "\xEF\xBB\xBF\u041f\u0440\u0438\u0432\u0435\u0442\r\n",
       "\u041f\u0440\u0438\u0432\u0435\u0442", true},
      {"UTF-8 without a mark", "\u65e5\u672c \U0001F600\r\n", "\u65e5\u672c \U0001F600", true},
      {"the ANSI code page", "Caf\xe9 \x80\r\n", "Caf\u00e9 \u20ac", true},
      {"an ANSI-era line of question marks", "?????? - Notes\r\n",
       "\u041f\u0440\u0438\u0432\u0435\u0442 - Notes", true},
      {"an emoji was two question marks", "?? chat\r\n", "\U0001F600 chat", true},
      {"question marks of another length", "????? - Notes\r\n",
       "\u041f\u0440\u0438\u0432\u0435\u0442 - Notes", false},
      {"a title the code page holds is not read as question marks", "???\r\n", "\u00e9\u00e9\u00e9",
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile("ignore.list", c.file);
    const Hwnd w = OpenWindow(c.window);
    ASSERT_TRUE(program ? Restart() : Start());
    EXPECT_EQ(Pager().IsManaged(w), !c.ignored);
    fake.DestroyWindow(w);
  }
  // Saved, the list is UTF-8 after a byte order mark, and reads back the same.
  Pager().ignoreList.Add("\u03a9mega \U0001F600");
  ASSERT_TRUE(Pager().ignoreList.Save());
  EXPECT_EQ(ReadFile("ignore.list"),
            "\xEF\xBB\xBFStart Menu\r\nProgram Manager\r\nOpen\r\n???\r\n"
            "\u03a9mega \U0001F600\r\n");
  const std::vector<std::string> saved = Pager().ignoreList.Titles();
  Pager().ignoreList.Reset();
  EXPECT_EQ(Pager().ignoreList.Titles(), saved);
}

}  // namespace
}  // namespace vd::testing
