#include "ReferenceLists.h"

#include <dirent.h>

#include <regex>

#include "core/platform/Files.h"
#include "core/service/MarketContract.h"

namespace tl::market {
namespace {

// Only list files are published: a plain name of letters, digits, "-" and "_" ending in ".xml".
bool isListFileName(const std::string& name) {
    static const std::regex pattern("[A-Za-z0-9_-]+\\.xml");
    return std::regex_match(name, pattern);
}

// N of "wordlist-N.xml", or 0 for any other name.
long wordListNumber(const std::string& name) {
    static const std::regex pattern("wordlist-([0-9]{1,9})\\.xml");
    std::smatch match;
    if (!std::regex_match(name, match, pattern)) return 0;
    return std::stol(match[1].str());
}

}  // namespace

std::string seedCategoryList() {
    // The root is named "root" so that the picker treats its children as top-level categories.
    return "<root>"
           "<Antiques><Furniture/><Clocks/><Silverware/><Maps/></Antiques>"
           "<Books><Fiction/><Non_Fiction/><Comics/><Textbooks/></Books>"
           "<Clothing><Mens/><Womens/><Childrens/><Shoes/><Accessories/></Clothing>"
           "<Collectibles><Coins/><Stamps/><Trading_Cards/><Toys/></Collectibles>"
           "<Computers><Laptops/><Desktops/><Monitors/><Software/><Parts/></Computers>"
           "<Electronics><Audio/><Cameras/><Phones/><Television/></Electronics>"
           "<Home_and_Garden><Kitchen/><Tools/><Garden/><Decor/></Home_and_Garden>"
           "<Music><Instruments/><Records/><Sheet_Music/></Music>"
           "<Sports><Bicycles/><Fitness/><Outdoor/><Team_Sports/></Sports>"
           "<Vehicles><Cars/><Motorcycles/><Boats/><Vehicle_Parts/></Vehicles>"
           "</root>";
}

std::string seedWordList() {
    std::string xml = "<wordlist><words>";
    for (const char* word : {"counterfeit", "Counterfeit", "stolen", "Stolen", "bootleg", "Bootleg",
                             "knockoff", "Knockoff", "replica", "Replica"})
        xml += std::string("<word>") + word + "</word>";
    return xml + "</words></wordlist>";
}

ReferenceLists::ReferenceLists(std::string folder) : folder_(std::move(folder)) {
    createDirectories(folder_);
    if (!fileExists(folder_ + "/" + contract::kCategoryListName))
        writeFileAtomically(folder_ + "/" + contract::kCategoryListName, seedCategoryList());
    if (!fileExists(folder_ + "/" + contract::kFirstWordListName))
        writeFileAtomically(folder_ + "/" + contract::kFirstWordListName, seedWordList());
}

std::string ReferenceLists::currentWordListName() const {
    std::string current = contract::kFirstWordListName;
    long highest = 1;
    if (DIR* dir = opendir(folder_.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const long number = wordListNumber(entry->d_name);
            if (number > highest && fileExists(folder_ + "/" + entry->d_name)) {
                highest = number;
                current = entry->d_name;
            }
        }
        closedir(dir);
    }
    return current;
}

std::optional<std::string> ReferenceLists::file(const std::string& name) const {
    if (!isListFileName(name)) return std::nullopt;
    return readWholeFile(folder_ + "/" + name);
}

}  // namespace tl::market
