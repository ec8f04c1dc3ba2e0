#include "core/platform/ProgramVersion.h"

#include <cstdio>

namespace tl {

std::string programVersion() {
    return TRADELOOM_VERSION;
}

std::string programTitle() {
    char title[64];
    std::snprintf(title, sizeof title, "Tradeloom v%d.%d Build %04d", TRADELOOM_VERSION_MAJOR,
                  TRADELOOM_VERSION_MINOR, TRADELOOM_VERSION_BUILD);
    return title;
}

}  // namespace tl
