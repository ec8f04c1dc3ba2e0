#include "core/platform/ProcessExit.h"

#include <unistd.h>

#include <cstdio>

namespace tl {
namespace {
std::function<void(int)>& handler() {
    static std::function<void(int)> installed;
    return installed;
}
}  // namespace

void endProcess(int code) {
    if (handler()) {
        handler()(code);
        return;
    }
    std::fflush(nullptr);
    ::_exit(code);
}

void setProcessExitHandler(std::function<void(int)> replacement) {
    handler() = std::move(replacement);
}

}  // namespace tl
