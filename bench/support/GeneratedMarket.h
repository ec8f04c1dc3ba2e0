#pragma once
// The generated market of the marketplace benchmarks: listings made of the same words, and the
// search criteria members type for them.
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "MarketStore.h"
#include "core/service/Query.h"

namespace tl::bench {

inline const char* const kAdjectives[] = {"Vintage", "Antique",  "Modern", "Rustic",   "Compact",
                                          "Classic", "Portable", "Deluxe", "Handmade", "Restored",
                                          "Rare",    "Signed",   "Boxed",  "Used",     "Sealed",
                                          "Wooden",  "Leather",  "Brass",  "Ceramic",  "Electric"};
inline const char* const kNouns[] = {
    "table",   "clock",  "camera", "guitar", "bicycle", "lamp",    "radio",   "typewriter",
    "desk",    "chair",  "mirror", "record", "novel",   "atlas",   "laptop",  "monitor",
    "speaker", "tent",   "kettle", "teapot", "violin",  "drum",    "jacket",  "boots",
    "watch",   "stamp",  "coin",   "puzzle", "poster",  "vase",    "rug",     "sofa",
    "piano",   "helmet", "skis",   "canoe",  "grill",   "toolbox", "printer", "projector"};

template <typename Random, std::size_t N>
const char* pick(Random& random, const char* const (&words)[N]) {
    return words[random() % N];
}

// Listing i of a market of that many members, drawn from random.
inline tl::market::Listing generatedListing(std::mt19937& random, int i, int members) {
    tl::market::Listing l;
    const std::string adjective = pick(random, kAdjectives);
    const std::string noun = pick(random, kNouns);
    l.owner = "member" + std::to_string(1000 + i % members);
    l.titlebar = adjective + " " + noun + " model " + std::to_string(random() % 900 + 100);
    l.description = "A " + adjective + " " + noun +
                    " in good condition, collected from my garage. Serial " +
                    std::to_string(random()) + ". Pick-up or shipping possible.";
    l.quantity = "1";
    l.shipping = i % 3 ? "US" : "WORLD";
    l.shippingpay = i % 2 ? "Buyer" : "Seller";
    l.zipcode = std::to_string(10000 + random() % 80000);
    l.category1 = "Collectibles; Toys";
    l.paymentmethods = "MV";
    l.escrow = "none";
    l.price = i % 17 == 0 ? "-1" : std::to_string(random() % 500) + ".99";
    l.kind = i % 4 == 0 ? "Buying" : "Selling";
    l.filesize = static_cast<std::int64_t>(random() % 900);
    return l;
}

// One quick search: the criteria and the status asked for.
struct SearchCriteria {
    std::string criteria;
    const char* status;
};

// Criteria as members type them: an adjective and a noun, a noun with a model number, a model.
inline std::vector<SearchCriteria> searchCriteria() {
    std::vector<SearchCriteria> out;
    const char* const statuses[] = {"BOTH", "SELLING", "BUYING"};
    std::mt19937 random(7);
    for (int i = 0; i < 600; ++i) {
        const std::string number = std::to_string(random() % 900 + 100);
        std::string criteria;
        if (i % 3 == 0)
            criteria = std::string(pick(random, kAdjectives)) + " " + pick(random, kNouns);
        else if (i % 3 == 1)
            criteria = std::string(pick(random, kNouns)) + " model " + number;
        else
            criteria = "model " + number;
        out.push_back({criteria, statuses[i % 3]});
    }
    return out;
}

// searchCriteria() as search.asp requests.
inline std::vector<std::string> searchTargets() {
    std::vector<std::string> targets;
    for (const SearchCriteria& c : searchCriteria())
        targets.push_back(tl::Query("/tradeloom/app/search.asp")
                              .add("criteria", c.criteria)
                              .add("status", c.status)
                              .pathAndQuery());
    return targets;
}

}  // namespace tl::bench
