#include <gtest/gtest.h>

#include <filesystem>

#include "core/listings/PhotoFiles.h"
#include "support/TempProgramDirectory.h"

namespace tl::test {
namespace {

// A photo picked from where it would be copied to (the preview folder, or a listing's own
// folder) is the target itself: copying it must leave it whole and still count as done.
TEST(PhotoFiles, CopyOntoItselfKeepsThePhotoWhole) {
    TempProgramDirectory home;
    const std::string photo(5000, '\x89');
    home.write("products/temp/front.jpg", photo);
    std::filesystem::create_symlink(home.path() + "products/temp/front.jpg",
                                    home.path() + "products/link.jpg");
    const std::string target = home.path() + "products/temp/front.jpg";
    const struct {
        const char* source;
        const char* why;
    } cases[] = {
        {"products/temp/front.jpg", "the same path"},
        {"products/temp/../temp/./front.jpg", "the same file by another path"},
        {"products/link.jpg", "a link to the target"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(copyPhoto(home.path() + c.source, target), 5000) << c.why;
        EXPECT_TRUE(home.read("products/temp/front.jpg") == photo) << c.why;
    }
    // A different file is still copied over the target.
    home.write("pictures/front.jpg", "new");
    EXPECT_EQ(copyPhoto(home.path() + "pictures/front.jpg", target), 3);
    EXPECT_EQ(home.read("products/temp/front.jpg"), "new");
}

}  // namespace
}  // namespace tl::test
