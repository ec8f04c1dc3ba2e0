#pragma once

#include <functional>

namespace tl {

// Ends the process at once with the code: nothing more runs, no log-off is sent.
// Tests install a handler that records the call instead; the handler returns normally.
void endProcess(int code);
void setProcessExitHandler(std::function<void(int)> handler);  // empty restores the default

}  // namespace tl
