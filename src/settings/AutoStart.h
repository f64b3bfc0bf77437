// Start with Windows: a value named after the program under the current user's Run key, whose
// data is the program's path. The shell starts whatever that value names at the next logon.
#pragma once

#include <string>

#include "platform/WindowSystem.h"

namespace vd::AutoStart {

inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kValueName[] = "VUEDECK";

// What the Run value holds for a program in this folder: the folder, a backslash and the
// program's name without its extension, in double quotes, so that a folder with blanks is not
// split into a program and its arguments.
std::string RunCommand(const std::string& programFolder);

// Writes the Run value (when the Run key can be opened). The key is closed again. False,
// whatever happened: a failure is not reported, the check box keeps its state.
bool AppAutoStart(WindowSystem& ws);
// Deletes the Run value (a missing value is no error). The key is closed again. False.
bool AppAutoStop(WindowSystem& ws);

}  // namespace vd::AutoStart
