#pragma once

#include <QObject>

#include <functional>
#include <string>

#include "core/listings/KeptFilesUpload.h"

namespace tl {

// Sends a listing's files to the marketplace on a worker, one listing after the other, so the
// member's windows never wait for it. Back on the windows' thread, while window (the one that
// asked) is still there, the member is told of a refusal or failure and done (when given) gets
// the result. Files still being sent when the program quits are abandoned.
void sendListingFilesInBackground(const std::string& productId, QObject* window,
                                  std::function<void(KeepResult)> done = {});

// Waits (running the windows' events) until every send asked for so far has ended and been
// reported, or timeoutMs has passed; true when they all ended.
bool waitForListingFilesSent(int timeoutMs);

}  // namespace tl
