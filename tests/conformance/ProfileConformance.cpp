// The settings file goes through the profile functions: what reads back, what a write leaves
// in the file.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Harness.h"

namespace vd::conformance {
namespace {

class ProfileConformance : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop_ = MakeTestDesktop();
    file_ = folder_.File("settings.ini");
  }

  WindowSystem& Ws() { return desktop_->System(); }

  // Reads as the program does: a buffer of the given size; the count must match the text.
  std::string Read(const std::string& section, const std::string& key,
                   const std::string& defaultValue = "", uint32_t size = 128) {
    std::vector<char> buffer(size + 1, 'X');
    const uint32_t count =
        Ws().GetPrivateProfileStringA(section, key, defaultValue, buffer.data(), size, file_);
    const std::string text(buffer.data());
    EXPECT_EQ(count, text.size()) << section << "/" << key;
    EXPECT_LT(text.size(), size);
    return text;
  }

  void WriteRaw(const std::string& content) {
    std::ofstream out(file_, std::ios::binary | std::ios::trunc);
    out << content;
  }

  std::string ReadRaw() {
    std::ifstream in(file_, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  static size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
      ++count;
    }
    return count;
  }

  std::unique_ptr<TestDesktop> desktop_;
  TempFolder folder_;
  std::string file_;
};

TEST_F(ProfileConformance, TheDefaultStandsInForWhatIsMissingButNotForAnEmptyValue) {
  EXPECT_EQ(Read("SETUP", "columns"), "");  // no file yet
  EXPECT_EQ(Read("SETUP", "rows", "fallback"), "fallback");
  WriteRaw("[SETUP]\r\ncolumns=3\r\nempty=\r\nbare\r\n");
  EXPECT_EQ(Read("SETUP", "columns"), "3");
  EXPECT_EQ(Read("SETUP", "rows"), "");
  EXPECT_EQ(Read("SETUP", "rows", "fallback"), "fallback");
  EXPECT_EQ(Read("ALERT", "key1", "fallback"), "fallback");
  EXPECT_EQ(Read("SETUP", "empty", "fallback"), "");
  EXPECT_EQ(Read("SETUP", "bare", "fallback"), "fallback");  // a line without '='
  EXPECT_EQ(Read("SETUP", "rows", "dflt   "), "dflt");       // trailing blanks dropped
  EXPECT_EQ(Read("SETUP", "rows", "a long default", 5), "a lo");
}

TEST_F(ProfileConformance, LongValuesAreCutToTheBuffer) {
  const std::string longValue(200, 'v');
  const std::string exact(127, 'e');
  ASSERT_TRUE(Ws().WritePrivateProfileStringA("SETUP", "long", longValue, file_));
  ASSERT_TRUE(Ws().WritePrivateProfileStringA("SETUP", "exact", exact, file_));
  EXPECT_EQ(Read("SETUP", "long"), longValue.substr(0, 127));
  EXPECT_EQ(Read("SETUP", "exact"), exact);
  EXPECT_EQ(Read("SETUP", "long", "", 1), "");
  EXPECT_EQ(Read("SETUP", "long", "", 201), longValue);
}

TEST_F(ProfileConformance, SectionAndKeyNamesMatchRegardlessOfCase) {
  WriteRaw("[SETUP]\r\ncolor_normal=16711680\r\n[Hotkeys]\r\n1=1,12,1\r\n");
  EXPECT_EQ(Read("setup", "COLOR_NORMAL"), "16711680");
  EXPECT_EQ(Read("HOTKEYS", "1"), "1,12,1");
  EXPECT_EQ(Read(" SETUP ", " color_normal "), "16711680");  // names are trimmed too

  // A write under another spelling lands in the existing section and line.
  ASSERT_TRUE(Ws().WritePrivateProfileStringA("Setup", "Color_Normal", "255", file_));
  const std::string raw = ReadRaw();
  EXPECT_EQ(Count(raw, "["), 2u);
  EXPECT_EQ(Count(raw, "=255"), 1u);
  EXPECT_EQ(Count(raw, "16711680"), 0u);
  EXPECT_EQ(Read("SETUP", "color_normal"), "255");
}

TEST_F(ProfileConformance, ValuesLoseSurroundingBlanksAndMatchingQuotes) {
  WriteRaw(
      "[SETUP]\r\n"
      "  spaced   =   two words  \r\n"
      "tabbed=\tx\t\r\n"
      "quoted=\"in quotes\"\r\n"
      "single='in single'\r\n"
      "half=\"open only\r\n"
      "inner=a \"b\" c\r\n"
      "lf=unix line\n"
      "after=next\r\n");
  EXPECT_EQ(Read("SETUP", "spaced"), "two words");
  EXPECT_EQ(Read("SETUP", "tabbed"), "x");
  EXPECT_EQ(Read("SETUP", "quoted"), "in quotes");
  EXPECT_EQ(Read("SETUP", "single"), "in single");
  EXPECT_EQ(Read("SETUP", "half"), "\"open only");
  EXPECT_EQ(Read("SETUP", "inner"), "a \"b\" c");
  EXPECT_EQ(Read("SETUP", "lf"), "unix line");
  EXPECT_EQ(Read("SETUP", "after"), "next");
}

TEST_F(ProfileConformance, WritesCreateTheFileAndSectionAndReplaceInPlace) {
  ASSERT_TRUE(Ws().WritePrivateProfileStringA("SETUP", "columns", "3", file_));
  EXPECT_EQ(ReadRaw(), "[SETUP]\r\ncolumns=3\r\n");

  ASSERT_TRUE(Ws().WritePrivateProfileStringA("SETUP", "rows", "2", file_));
  EXPECT_EQ(ReadRaw(), "[SETUP]\r\ncolumns=3\r\nrows=2\r\n");

  ASSERT_TRUE(Ws().WritePrivateProfileStringA("SETUP", "columns", "4", file_));
  EXPECT_EQ(ReadRaw(), "[SETUP]\r\ncolumns=4\r\nrows=2\r\n");

  ASSERT_TRUE(Ws().WritePrivateProfileStringA("ALERT", "enabled", "1", file_));
  ASSERT_TRUE(Ws().WritePrivateProfileStringA("SETUP", "width", "40", file_));
  EXPECT_EQ(Read("SETUP", "columns"), "4");
  EXPECT_EQ(Read("SETUP", "rows"), "2");
  EXPECT_EQ(Read("SETUP", "width"), "40");
  EXPECT_EQ(Read("ALERT", "enabled"), "1");
  const std::string raw = ReadRaw();
  EXPECT_EQ(Count(raw, "[SETUP]"), 1u);
  EXPECT_EQ(Count(raw, "columns="), 1u);
  EXPECT_LT(raw.find("width=40"), raw.find("[ALERT]"));  // joins its own section
  EXPECT_EQ(Count(raw, "\n"), Count(raw, "\r\n"));       // every line ends with CR LF

  ASSERT_TRUE(Ws().WritePrivateProfileStringA("SETUP", "rows", "", file_));
  EXPECT_EQ(Read("SETUP", "rows", "fallback"), "");

  // The other lines of a file stay as they were.
  WriteRaw("[SETUP]\r\ncolumns=3\r\nrows=2\r\n[ALERT]\r\nkey1=-1\r\n");
  ASSERT_TRUE(Ws().WritePrivateProfileStringA("SETUP", "rows", "5", file_));
  ASSERT_TRUE(Ws().WritePrivateProfileStringA("SETUP", "left", "1500", file_));
  EXPECT_EQ(ReadRaw(), "[SETUP]\r\ncolumns=3\r\nrows=5\r\nleft=1500\r\n[ALERT]\r\nkey1=-1\r\n");
}

// How a failed write looks (the file cannot be made). A read-only file would do on Windows, but
// not for a user who may write anything, as the tests' user under Wine may.
TEST_F(ProfileConformance, WriteIntoAMissingFolderFails) {
  const std::string nowhere = folder_.File("missing") + "/settings.ini";
  EXPECT_FALSE(Ws().WritePrivateProfileStringA("SETUP", "columns", "3", nowhere));
}

}  // namespace
}  // namespace vd::conformance
