// The settings file a run starts the program with: a complete set of values that a run
// changes key by key before the start.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vdbench {

class SettingsIni {
 public:
  // Three columns by two rows, a quarter of the screen wide and high, placed near the top of
  // the screen, opaque, no animation, preview, auto-hide or start with Windows, the panic key
  // off; desktop n has Alt+n.
  SettingsIni();

  void Set(const std::string& section, const std::string& key, const std::string& value);
  void Remove(const std::string& section, const std::string& key);
  // Empty when the key is not there.
  std::string Get(const std::string& section, const std::string& key) const;

  std::string Text() const;  // sections and keys in the order they were first set, CRLF lines
  bool Write(const std::string& path) const;

 private:
  using Keys = std::vector<std::pair<std::string, std::string>>;
  std::vector<std::pair<std::string, Keys>> sections_;
};

}  // namespace vdbench
