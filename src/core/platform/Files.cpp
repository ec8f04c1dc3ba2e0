#include "core/platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

namespace tl {
namespace {

constexpr std::string_view kTemporaryMark = ".part.";
constexpr std::string_view kUniqueTemplate = "XXXXXX";

std::filesystem::path folderOf(const std::filesystem::path& target) {
    return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

// The rename is only lasting once the folder's entry is on disk too.
bool syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& target, Durability durability)
    : target_(target), durability_(durability) {
    const std::filesystem::path path(target);
    const std::string pattern =
        (folderOf(path) / ("." + path.filename().string() + std::string(kTemporaryMark) +
                           std::string(kUniqueTemplate)))
            .string();
    temporary_.assign(pattern.begin(), pattern.end());
    temporary_.push_back('\0');
    fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
}

AtomicFileWriter::~AtomicFileWriter() {
    discard();
}

void AtomicFileWriter::discard() {
    if (fd_ < 0) return;
    ::close(std::exchange(fd_, -1));
    std::remove(temporary_.data());
}

bool AtomicFileWriter::write(std::string_view bytes) {
    if (fd_ < 0) return false;
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool AtomicFileWriter::commit() {
    if (fd_ < 0) return false;
    // mkstemp makes the file private to its owner; what we store is an ordinary file.
    const bool lasting = durability_ == Durability::Lasting;
    const bool ready = ::fchmod(fd_, 0644) == 0 && (!lasting || ::fsync(fd_) == 0);
    const bool closed = ::close(std::exchange(fd_, -1)) == 0;
    if (!ready || !closed || std::rename(temporary_.data(), target_.c_str()) != 0) {
        std::remove(temporary_.data());
        return false;
    }
    // The new file is in place whatever the folder's sync reports; without it the rename may
    // only be lost to a power cut, which leaves the old file.
    if (lasting) syncFolder(folderOf(std::filesystem::path(target_)));
    return true;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, Durability durability) {
    AtomicFileWriter writer(path, durability);
    return writer.write(bytes) && writer.commit();
}

bool isWriterTemporaryName(std::string_view name) {
    const std::size_t suffix = kTemporaryMark.size() + kUniqueTemplate.size();
    // A dot, at least one character of the target's name, the mark and mkstemp's six letters.
    if (name.size() < 2 + suffix || name.front() != '.') return false;
    const std::string_view tail = name.substr(name.size() - suffix);
    return tail.substr(0, kTemporaryMark.size()) == kTemporaryMark &&
           std::all_of(tail.begin() + kTemporaryMark.size(), tail.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

std::optional<std::string> readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool fileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool createDirectories(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

}  // namespace tl
