#include "core/listings/PhotoFiles.h"

#include <filesystem>
#include <fstream>
#include <set>

#include "core/platform/Files.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/Ui.h"

namespace tl {
namespace {
constexpr std::size_t kCopyBlockSize = 4096;
}

std::string photoFileName(const std::string& path) {
    const std::size_t lastSeparator = path.find_last_of("/\\");
    return lastSeparator == std::string::npos ? path : path.substr(lastSeparator + 1);
}

bool isReadablePhoto(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    std::ifstream file(path, std::ios::binary);
    return file.is_open();
}

bool photoSizeAllowed(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error || size <= kLargestPhotoBytes;
}

std::optional<long long> copyPhoto(const std::string& source, const std::string& target) {
    std::ifstream in(source, std::ios::binary);
    if (!in.is_open()) return std::nullopt;
    // Through a temporary file: a buyer fetching the photo meanwhile never gets half of it, and
    // a failed copy leaves an older photo of that name as it was.
    AtomicFileWriter out(target);
    char block[kCopyBlockSize];
    long long copied = 0;
    while (in) {
        in.read(block, sizeof block);
        const std::streamsize got = in.gcount();
        if (got == 0) break;
        if (!out.write({block, static_cast<std::size_t>(got)})) return std::nullopt;
        copied += got;
    }
    if (!in.eof() || in.bad() || !out.commit()) return std::nullopt;
    return copied;
}

std::string photoNotReadText(const std::string& path) {
    return "The file " + path + " could not be read.";
}

std::string photoNotCopiedText(const std::string& path) {
    return "The file " + path + " could not be copied into the products folder.";
}

std::string photoNameTakenText(const std::string& name) {
    return "More than one photo is named " + name + ". Please rename one of them.";
}

std::string photoTooLargeText(const std::string& path) {
    return "The file " + path + " is 4 GB or larger and cannot be attached.";
}

bool photosUsable(const std::vector<std::string>& photos, const std::string& storedFolder) {
    std::set<std::string> names;
    for (const std::string& path : photos) {
        if (!isReadablePhoto(path)) {
            ui().messageBox(kPhotoCaption, photoNotReadText(path));
            return false;
        }
        if (!photoSizeAllowed(path)) {
            ui().messageBox(kPhotoCaption, photoTooLargeText(path));
            return false;
        }
        // Photos are stored by file name: one of a name already taken would replace the other.
        const std::string name = photoFileName(path);
        std::error_code error;
        if (!names.insert(name).second ||
            (!storedFolder.empty() &&
             std::filesystem::exists(productsDirectory() + storedFolder + "/" + name, error))) {
            ui().messageBox(kPhotoCaption, photoNameTakenText(name));
            return false;
        }
    }
    return true;
}

std::optional<long long> copyPhotosInto(const std::vector<std::string>& photos,
                                        const std::string& folder, const AddEntry& addEntry) {
    long long total = 0;
    for (const std::string& path : photos) {
        const std::string name = photoFileName(path);
        // The entry is added only once its file is in place, so no entry names a missing file.
        const std::optional<long long> copied =
            copyPhoto(path, productsDirectory() + folder + "/" + name);
        if (!copied) {
            ui().messageBox(kPhotoCaption, photoNotCopiedText(path));
            return std::nullopt;
        }
        total += *copied;
        addEntry(folder + "/" + name);
    }
    return total;
}

void removePhotoCopies(const std::vector<std::string>& photos, const std::string& folder) {
    for (const std::string& path : photos) {
        std::error_code ignored;
        std::filesystem::remove(productsDirectory() + folder + "/" + photoFileName(path), ignored);
    }
}

}  // namespace tl
