#pragma once

#include <string>

namespace tl {

// The release, as the build defines it once (the project's version: major.minor.build).
std::string programVersion();  // "1.4.502"

// The name and release as the window title and the About box show them: "Tradeloom v1.4 Build
// 0502".
std::string programTitle();

}  // namespace tl
