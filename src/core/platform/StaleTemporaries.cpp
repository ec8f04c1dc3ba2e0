#include "core/platform/StaleTemporaries.h"

#include <filesystem>
#include <string>

#include "core/platform/Files.h"
#include "core/platform/ProgramDirectory.h"

namespace tl {
namespace {

namespace fs = std::filesystem;

void removeIfStale(const fs::directory_entry& entry) {
    std::error_code error;
    if (entry.is_symlink(error) || !entry.is_regular_file(error)) return;
    if (isWriterTemporaryName(entry.path().filename().string())) fs::remove(entry.path(), error);
}

// Walks with either iterator kind; a folder that is missing or unreadable is passed over.
template <typename Iterator>
void sweep(Iterator it, std::error_code& error) {
    for (const Iterator end; !error && it != end; it.increment(error)) removeIfStale(*it);
}

}  // namespace

void removeStaleTemporaries() {
    std::error_code error;
    sweep(fs::directory_iterator(programDirectory(), error), error);
    for (const std::string& folder :
         {productsDirectory(), downloadsDirectory(), usersDirectory(), draftsDirectory()}) {
        error.clear();
        sweep(fs::recursive_directory_iterator(
                  folder, fs::directory_options::skip_permission_denied, error),
              error);
    }
}

}  // namespace tl
