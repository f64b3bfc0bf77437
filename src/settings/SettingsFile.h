// The settings file, "settings.ini" beside the program: its one read operation and the
// built-in values a fresh installation starts with.
#pragma once

#include <string>

#include "platform/WindowSystem.h"

namespace vd {

// Reads one value through the profile function: a value longer than `longest` bytes comes
// back as its first `longest` (whole characters); a missing file, section or key and an empty
// value all read as the empty text. No trimming of its own, no conversion.
std::string ReadIniValue(WindowSystem& ws, const std::string& fileName, const std::string& section,
                         const std::string& key, size_t longest = 127);

// The value a fresh installation uses for a key the file does not hold (empty when the
// program has no built-in value for it).
std::string DefaultSetting(const std::string& section, const std::string& key);

}  // namespace vd
