#include "core/account/BusinessCard.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "core/listings/RememberedDefaults.h"
#include "core/platform/Files.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/Ui.h"

namespace tl {
namespace {

constexpr char kCardError[] = "Card Error";

bool isXmlName(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name.ends_with(".xml");
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

}  // namespace

std::optional<std::string> importBusinessCard(const std::string& source) {
    const std::string name = std::filesystem::path(source).filename().string();
    const std::string target = plainFileIn(productsDirectory(), name);
    if (target.empty() || isXmlName(name)) {
        ui().messageBox(kCardError, "This file cannot be used as a business card.");
        return std::nullopt;
    }
    if (sameFile(source, target)) return name;
    const std::optional<std::string> bytes = readWholeFile(source);
    if (!bytes || !createDirectories(productsDirectory()) || !writeFileAtomically(target, *bytes)) {
        ui().messageBox(kCardError, "The business card could not be copied.");
        return std::nullopt;
    }
    return name;
}

void rememberCard(const std::string& user, const std::string& card) {
    RememberedDefaults defaults = LoadRememberedDefaults(user).value_or(RememberedDefaults{});
    defaults.card = card;
    SaveRememberedDefaults(user, defaults);
}

}  // namespace tl
