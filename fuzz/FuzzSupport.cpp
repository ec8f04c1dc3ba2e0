#include "FuzzSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "core/platform/Files.h"
#include "core/platform/ProgramDirectory.h"

namespace tl::fuzz {

ScriptedChannel::ScriptedChannel(std::string_view input) : left_(input), piece_(0) {
    if (left_.empty()) return;
    const auto cut = static_cast<unsigned char>(left_.front());
    left_.remove_prefix(1);
    piece_ = cut < 128 ? 1 + cut % 16 : 0;  // 0: whatever is asked for
}

long ScriptedChannel::receiveSome(char* buffer, std::size_t size) {
    std::size_t n = std::min(size, left_.size());
    if (piece_ != 0) n = std::min(n, piece_);
    std::memcpy(buffer, left_.data(), n);
    left_.remove_prefix(n);
    return static_cast<long>(n);
}

namespace {

std::string madeHome;

void removeHome() {
    std::error_code ignored;
    std::filesystem::remove_all(madeHome, ignored);
}

}  // namespace

const std::string& fuzzHome() {
    static const std::string& home = []() -> const std::string& {
        const char* temporary = std::getenv("TMPDIR");
        std::string pattern =
            std::string(temporary ? temporary : "/tmp") + "/tradeloom-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        madeHome = pattern;
        std::atexit(removeHome);  // a run that ends normally leaves nothing behind
        setProgramDirectory(madeHome);
        return madeHome = programDirectory();
    }();
    return home;
}

std::string writeHomeFile(const std::string& relative, const std::string& bytes) {
    const std::string path = fuzzHome() + relative;
    createDirectories(std::filesystem::path(path).parent_path().string());
    require(writeFileAtomically(path, bytes), "the fuzz input could not be written");
    return path;
}

void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

bool staysIn(const std::string& path, const std::string& folder) {
    const std::string normal = std::filesystem::path(path).lexically_normal().string();
    return normal.size() > folder.size() && normal.compare(0, folder.size(), folder) == 0;
}

}  // namespace tl::fuzz
