// Paths handed in from the Linux side (environment variables set by the run scripts) are host
// paths such as /build/x; under Wine a Windows program reaches them through a drive letter.
#pragma once

#include <string>

namespace vdtools {

// A path starting with '/' becomes the Windows path Wine maps it to (Z:\build\x by default);
// any other path is returned as it is.
std::string HostPathToWindows(const std::string& path);

}  // namespace vdtools
