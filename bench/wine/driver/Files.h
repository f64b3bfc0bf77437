// Whole files read and written byte for byte: what the driver puts beside the program before it
// starts (an ignore list) and what the program wrote there when it ended.
#pragma once

#include <optional>
#include <string>

namespace vdbench {

// The file's bytes; nothing when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::string& path);
// The bytes with CR and LF spelled out ("Open\r\n"), for failure messages.
std::string Printable(const std::string& bytes);

}  // namespace vdbench
