#include "core/peer/ServedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "core/listings/ListingPaths.h"
#include "core/peer/TransferProtocol.h"
#include "core/platform/ProgramDirectory.h"

namespace tl {
namespace {

// A document at the top of the products folder that is no listing, or a copy of a preview's
// photo: the member's preview, its photos and remembered defaults are for this computer only.
bool isPrivateFile(const std::filesystem::path& real, const std::filesystem::path& folder) {
    const std::string name = real.filename().native();
    if (real.parent_path() == folder) return isXmlFileName(name) && !isListingFileName(name);
    const std::string previews = (folder / kPreviewPhotoFolder).native() + '/';
    return real.native().compare(0, previews.size(), previews) == 0;
}

// The real path of the named file when it lies inside the products folder and may be served;
// empty otherwise.
std::string realPathInsideProducts(const std::string& name) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::canonical(productsDirectory(), error);
    if (error) return {};
    const std::filesystem::path real =
        std::filesystem::canonical(joinStoredName(productsDirectory(), name), error);
    if (error) return {};
    const std::string inside = folder.native() + '/';
    if (real.native().compare(0, inside.size(), inside) != 0) return {};
    if (isPrivateFile(real, folder)) return {};
    return real.native();
}

}  // namespace

ServedFile::ServedFile(const std::string& name) {
    const std::string path = realPathInsideProducts(name);
    if (path.empty()) return;
    // Non-blocking, so that a named pipe put in the folder cannot hold the server; no link is
    // followed any more once the real path is known.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    struct stat status {};
    if (fd_ < 0 || ::fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<std::uint64_t>(status.st_size) > kLargestServedFile) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        return;
    }
    size_ = static_cast<std::uint64_t>(status.st_size);
}

ServedFile::~ServedFile() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace tl
