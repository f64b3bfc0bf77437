// The settings file, "settings.ini" beside the program: the built-in values a fresh
// installation starts with.
#pragma once

#include <string>

#include "platform/WindowSystem.h"

namespace vd {

// The value a fresh installation uses for a key the file does not hold (empty when the
// program has no built-in value for it).
std::string DefaultSetting(const std::string& section, const std::string& key);

}  // namespace vd
