#pragma once

namespace tl {

// Removes the temporary files that writes through a temporary name (AtomicFileWriter) leave
// behind when the program is killed before they end, such as a download cut short: files of
// the writer's naming directly in the program directory and anywhere under its products,
// downloads, users and drafts folders. Nothing else is touched and no link is followed. Run it
// while holding the instance lock, so that no write of ours is under way.
void removeStaleTemporaries();

}  // namespace tl
