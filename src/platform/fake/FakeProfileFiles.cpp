// The fake desktop's profile functions: settings files on the real file system, read and
// written with the rules of the Windows functions (names matched regardless of letter case,
// blanks trimmed, matching quotes dropped, a write changing one line and leaving every other
// line as it was).
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ProfileText.h"
#include "platform/fake/FakeState.h"
#include "platform/fake/FakeWindowSystem.h"

namespace vd::fake {

namespace {

std::string_view Trim(std::string_view text) { return TrimProfileBlanks(text); }

// ---- Profile files ---------------------------------------------------------------------------
// A profile file kept as its lines, so that a write changes one line and leaves every other
// line exactly as it was.

std::optional<std::vector<std::string>> ReadLines(const std::string& fileName) {
  std::ifstream in(LocalPath(fileName), std::ios::binary);
  if (!in) return std::nullopt;
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string text = buffer.str();
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// The section name of a header line ("[ SETUP ]" -> "SETUP"), or nothing for other lines.
std::optional<std::string_view> SectionOf(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const size_t close = line.rfind(']');
  if (close == std::string_view::npos) return Trim(line.substr(1));
  return Trim(line.substr(1, close - 1));
}

struct KeyLine {
  std::string_view name;
  std::optional<std::string_view> value;  // none for a line without '='
};

KeyLine KeyOf(std::string_view line) {
  line = Trim(line);
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return {line, std::nullopt};
  return {Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

// Where a section lies in the file: its header line and the line after its last line.
struct SectionSpan {
  size_t header = 0;
  size_t end = 0;
};

std::optional<SectionSpan> FindSection(const std::vector<std::string>& lines,
                                       std::string_view section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto name = SectionOf(lines[i]);
    if (!name || !SameText(*name, section)) continue;
    size_t end = i + 1;
    while (end < lines.size() && !SectionOf(lines[end])) ++end;
    return SectionSpan{i, end};
  }
  return std::nullopt;
}

std::optional<size_t> FindKey(const std::vector<std::string>& lines, const SectionSpan& span,
                              std::string_view key) {
  for (size_t i = span.header + 1; i < span.end; ++i) {
    if (SameText(KeyOf(lines[i]).name, key)) return i;
  }
  return std::nullopt;
}

std::string_view Unquote(std::string_view value) { return UnquoteProfileValue(value); }

bool WriteLines(const std::string& fileName, const std::vector<std::string>& lines) {
  std::ofstream out(LocalPath(fileName), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  for (const std::string& line : lines) out << line << "\r\n";
  out.flush();
  return static_cast<bool>(out);
}

}  // namespace

// ---- Profile files ------------------------------------------------------------------------------

uint32_t FakeWindowSystem::GetPrivateProfileStringW(const std::string& section,
                                                    const std::string& key,
                                                    const std::string& defaultValue, char* buffer,
                                                    uint32_t size, const std::string& fileName) {
  state_->Record("GetPrivateProfileStringW", {section, key, defaultValue, Dec(size), fileName});
  if (!buffer || size == 0) return 0;
  // The default loses its trailing blanks; a key found without '=' also reads as the default.
  std::string value(Trim(defaultValue));
  if (auto lines = ReadLines(fileName)) {
    if (auto span = FindSection(*lines, Trim(section))) {
      if (auto line = FindKey(*lines, *span, Trim(key))) {
        const KeyLine entry = KeyOf((*lines)[*line]);
        if (entry.value) value = std::string(Unquote(*entry.value));
      }
    }
  }
  const size_t count = std::min<size_t>(value.size(), size - 1);
  std::copy_n(value.data(), count, buffer);
  buffer[count] = '\0';
  return static_cast<uint32_t>(count);
}

std::vector<std::pair<std::string, std::string>> FakeWindowSystem::GetPrivateProfileSectionW(
    const std::string& section, const std::string& fileName) {
  state_->Record("GetPrivateProfileSectionW", {section, fileName});
  std::vector<std::pair<std::string, std::string>> entries;
  const auto lines = ReadLines(fileName);
  if (!lines) return entries;
  const auto span = FindSection(*lines, Trim(section));
  if (!span) return entries;
  for (size_t i = span->header + 1; i < span->end; ++i) {
    const KeyLine entry = KeyOf((*lines)[i]);
    if (entry.value) entries.emplace_back(entry.name, Unquote(*entry.value));
  }
  return entries;
}

bool FakeWindowSystem::WritePrivateProfileStringW(const std::string& section,
                                                  const std::string& key, const std::string& value,
                                                  const std::string& fileName) {
  state_->Record("WritePrivateProfileStringW", {section, key, value, fileName});
  if (state_->RefusesWritesTo(fileName)) return false;
  std::vector<std::string> lines = ReadLines(fileName).value_or(std::vector<std::string>{});
  const std::string_view sectionName = Trim(section);
  const std::string_view keyName = Trim(key);
  if (auto span = FindSection(lines, sectionName)) {
    if (auto line = FindKey(lines, *span, keyName)) {
      // Replaced in place; the key keeps the spelling the file gave it.
      const std::string stored(KeyOf(lines[*line]).name);
      lines[*line] = stored + "=" + value;
    } else {
      // Added after the section's last non-blank line.
      size_t at = span->end;
      while (at > span->header + 1 && Trim(lines[at - 1]).empty()) --at;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at),
                   std::string(keyName) + "=" + value);
    }
  } else {
    lines.push_back("[" + std::string(sectionName) + "]");
    lines.push_back(std::string(keyName) + "=" + value);
  }
  return WriteLines(fileName, lines);
}

}  // namespace vd::fake
