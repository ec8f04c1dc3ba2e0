#include "support/TempProgramDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/platform/ProgramDirectory.h"

namespace tl::test {

TempProgramDirectory::TempProgramDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tradeloom-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    path_ = std::string(::mkdtemp(name.data())) + "/";
    setProgramDirectory(path_);
}

TempProgramDirectory::~TempProgramDirectory() {
    setProgramDirectory("");
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TempProgramDirectory::write(const std::string& relative, const std::string& bytes) const {
    const std::filesystem::path file = path_ + relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string TempProgramDirectory::read(const std::string& relative) const {
    std::ifstream in(path_ + relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool TempProgramDirectory::exists(const std::string& relative) const {
    return std::filesystem::exists(path_ + relative);
}

}  // namespace tl::test
