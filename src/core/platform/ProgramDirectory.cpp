#include "core/platform/ProgramDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>

namespace tl {
namespace {

std::mutex directoryMutex;
std::string overriddenDirectory;

std::string withSlash(std::string path) {
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

// Paths built from the directory become file addresses and are handed to other components, so a
// relative setting is taken from the working directory at once.
std::string absoluteWithSlash(const std::string& path) {
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    return withSlash(absolute.empty() ? path : absolute.lexically_normal().string());
}

std::string defaultDirectory() {
    if (const char* home = std::getenv("TRADELOOM_HOME"); home && *home)
        return absoluteWithSlash(home);
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        return absoluteWithSlash(data) + "tradeloom/";
    const char* userHome = std::getenv("HOME");
    return withSlash(userHome && *userHome ? userHome : "/tmp") + ".local/share/tradeloom/";
}

}  // namespace

std::string programDirectory() {
    std::lock_guard lock(directoryMutex);
    return overriddenDirectory.empty() ? defaultDirectory() : overriddenDirectory;
}

void setProgramDirectory(const std::string& path) {
    std::lock_guard lock(directoryMutex);
    overriddenDirectory = path.empty() ? std::string() : absoluteWithSlash(path);
}

std::string productsDirectory() {
    return programDirectory() + "products/";
}
std::string productsTempDirectory() {
    return productsDirectory() + "temp/";
}
std::string downloadsDirectory() {
    return programDirectory() + "downloads/";
}
std::string usersDirectory() {
    return programDirectory() + "users/";
}
std::string draftsDirectory() {
    return programDirectory() + "drafts/";
}

std::string joinStoredName(const std::string& folder, const std::string& name) {
    std::string joined = withSlash(folder);
    for (char c : name) joined += (c == '\\') ? '/' : c;
    return joined;
}

std::string plainFileIn(const std::string& folder, const std::string& name) {
    if (!isSafeRelativeName(name) || name.find_first_of("/\\") != std::string::npos) return {};
    return withSlash(folder) + name;
}

bool isSafeRelativeName(const std::string& name) {
    if (name.empty() || name.front() == '/' || name.front() == '\\') return false;
    if (name.find('\0') != std::string::npos) return false;
    if (name.size() >= 2 && name[1] == ':') return false;  // drive letter
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("/\\", start);
        if (end == std::string::npos) end = name.size();
        const std::string step = name.substr(start, end - start);
        if (step.empty() || step == "." || step == "..") return false;
        start = end + 1;
    }
    return true;
}

}  // namespace tl
