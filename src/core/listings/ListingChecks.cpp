#include "core/listings/ListingChecks.h"

#include <exception>

#include "core/platform/Ui.h"
#include "core/reflists/WordFilter.h"

namespace tl {

bool requiredFieldsGiven(const ListingValues& v, const char* escrowCaption) {
    struct Rule {
        const std::string& value;
        const char* text;
        const char* caption;
    };
    const Rule rules[] = {
        {v.title, "Please Enter an Item Title", "Error: Blank Item Title Bar"},
        {v.description, "Please Enter an Item Desctiption", "Error: Blank Item Description"},
        {v.zipcode, "Please Enter your Zip Code", "Error: Blank Zip Code"},
        {v.paymentmethods, "Please Enter a Payment Method", "Error: Blank Payment Method"},
        {v.quantity, "Please Enter a Quantity", "Error: Blank Quantity"},
        {v.category1, "Please Select a Category", "Error: Blank Category"},
        {v.escrow, "Please Enter Escrow Informations", escrowCaption},
        {v.price, "Please Enter Price", "Error: Blank Price"},
    };
    bool allGiven = true;
    for (const Rule& rule : rules) {
        if (!rule.value.empty()) continue;
        ui().messageBox(rule.caption, rule.text);
        allGiven = false;
    }
    return allGiven;
}

bool titleAllowed(const std::string& title) {
    WordFilter filter;
    try {
        if (!filter.Load()) return true;
        while (filter.HasNext()) filter.Next();
    } catch (const std::exception&) {
        ui().messageBox("Tradeloom", "Loading Filter Failed");
        return true;
    }
    return filter.Check(title) == 1;
}

std::string linkWithScheme(const std::string& link) {
    static constexpr char kScheme[] = "http://";
    return link.starts_with(kScheme) ? link : kScheme + link;
}

}  // namespace tl
