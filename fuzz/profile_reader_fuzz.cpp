// The fake desktop's profile-file functions on a file of any bytes. They stand in for the
// system's in every test of the settings, so they must hold up to any file: reads never run
// past the caller's buffer and always end it with a NUL; a written value reads back as it
// was written; a write changes one line (or adds the key, or the section and the key) and
// leaves every other line exactly as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzProgram.h"

using vd::fuzzing::Check;

namespace {

// A section or key name: letters and digits only, so that it can only mean itself.
std::string Name(FuzzedDataProvider& in) {
  static const char* const kKnown[] = {"SETUP", "ALERT", "HOTKEYS", "columns", "rows", "1"};
  if (in.ConsumeBool()) return kKnown[in.ConsumeIntegralInRange<size_t>(0, 5)];
  std::string name;
  for (char c : in.ConsumeRandomLengthString(12)) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) name += c;
  }
  return name.empty() ? std::string("k") : name;
}

// A value that reads back as itself: no line break, no blank at either end, not quoted.
std::string Value(FuzzedDataProvider& in) {
  std::string value;
  for (char c : in.ConsumeRandomLengthString(200)) {
    if (c != '\r' && c != '\n' && c != '\0') value += c;
  }
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; };
  while (!value.empty() && blank(value.front())) value.erase(value.begin());
  while (!value.empty() && blank(value.back())) value.pop_back();
  if (!value.empty() && (value.front() == '"' || value.front() == '\'')) value.insert(0, "x");
  return value;
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string ReadAll(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Read(vd::fake::FakeWindowSystem& fake, const std::string& section,
                 const std::string& key, const std::string& file) {
  std::vector<char> buffer(4096, '\x7f');
  const uint32_t n = fake.GetPrivateProfileStringA(section, key, "", buffer.data(), 4096, file);
  Check(n < 4096 && buffer[n] == '\0', "a read ends within the buffer with a NUL");
  return std::string(buffer.data(), n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  // Any names at all for a read; names that mean only themselves and a plain value for a
  // write; a small buffer, to cut a long value.
  const std::string anySection = in.ConsumeRandomLengthString(40);
  const std::string anyKey = in.ConsumeRandomLengthString(40);
  const std::string anyDefault = in.ConsumeRandomLengthString(40);
  const uint32_t small = in.ConsumeIntegralInRange<uint32_t>(1, 300);
  const std::string section = Name(in), key = Name(in), value = Value(in);
  const std::string otherSection = Name(in), otherKey = Name(in);
  const std::string content = in.ConsumeRemainingBytesAsString();

  vd::fuzzing::WriteFile("profile.ini", content);
  const std::string file = (vd::fuzzing::Folder() / "profile.ini").string();
  vd::fake::FakeWindowSystem fake;

  std::vector<char> buffer(small + 16, '\x7f');
  const uint32_t n =
      fake.GetPrivateProfileStringA(anySection, anyKey, anyDefault, buffer.data(), small, file);
  Check(n < small && buffer[n] == '\0', "a read ends within a small buffer with a NUL");
  for (size_t i = small; i < buffer.size(); ++i) {
    Check(buffer[i] == '\x7f', "a read never writes past the buffer");
  }

  const std::string otherBefore = Read(fake, otherSection, otherKey, file);
  const std::vector<std::string> before = vd::fuzzing::Lines(ReadAll(file));
  Check(fake.WritePrivateProfileStringA(section, key, value, file), "a write succeeds");
  Check(Read(fake, section, key, file) == value, "a written value reads back as it was");
  if (!(SameText(section, otherSection) && SameText(key, otherKey))) {
    Check(Read(fake, otherSection, otherKey, file) == otherBefore,
          "a write leaves the other keys as they were");
  }
  const std::vector<std::string> after = vd::fuzzing::Lines(ReadAll(file));
  // One line replaced, or one inserted, or a header and a key appended.
  if (after.size() == before.size()) {
    size_t changed = 0;
    for (size_t i = 0; i < after.size(); ++i) changed += after[i] != before[i] ? 1 : 0;
    Check(changed <= 1, "a write replaces at most one line");
  } else if (after.size() == before.size() + 1) {
    size_t i = 0;
    while (i < before.size() && before[i] == after[i]) ++i;
    Check(std::equal(before.begin() + static_cast<std::ptrdiff_t>(i), before.end(),
                     after.begin() + static_cast<std::ptrdiff_t>(i) + 1),
          "a write inserts one line and keeps the others");
  } else {
    Check(after.size() == before.size() + 2 &&
              std::equal(before.begin(), before.end(), after.begin()),
          "a write of a new section appends it and keeps every other line");
  }
  return 0;
}
