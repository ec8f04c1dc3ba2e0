#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/platform/XmlDocument.h"

namespace tl {

// One record of a results reply: one listing with its poster's state, each field as the server
// sent it, empty when the record lacks it.
struct ResultRecord {
    std::string productid, titlebar, username, ipaddress, connection, filesize, status, price,
        email, fileskept;
};

// Reads a record element. A record whose productid is not a product id is refused: that id
// names files and folders later. An ipaddress that is not dotted IPv4 text reads as empty,
// that is, the poster is offline.
std::optional<ResultRecord> readResultRecord(const XmlNode& record);

// Four decimal numbers from 0 to 255 joined by points, without leading zeros.
bool isDottedIpv4(std::string_view text);

// How a record's price shows: "-1" is "Make Offer", "0" is "Free", any other text as it is.
std::string PriceText(const std::string& price);

}  // namespace tl
