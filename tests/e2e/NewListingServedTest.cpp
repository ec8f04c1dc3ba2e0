// A member adds a listing with two photos through the new-listing form; another member's
// client, played by a plain socket, then fetches the listing and both photos from the member's
// listing server, byte for byte.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "LoopbackListingServer.h"
#include "app/Controls.h"
#include "app/FileScramble.h"
#include "app/Session.h"
#include "app/ViewSwitch.h"
#include "ids_listings.h"
#include "listings/CView3.h"
#include "platform/ScriptedUi.h"
#include "platform/ServerHost.h"
#include "platform/XmlDocument.h"
#include "support/ScriptedHttpServer.h"
#include "support/TempProgramDirectory.h"

namespace tl::test {
namespace {

// One file request as another member's client makes it: N (4 bytes, little-endian), the name,
// the end byte 0xDD; the reply is the length (4 bytes, little-endian) and the bytes, then the
// server closes. Nothing when no reply came.
std::optional<std::string> fetchFile(int port, const std::string& name) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return std::nullopt;
    timeval timeout{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::optional<std::string> file;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::uint32_t n = static_cast<std::uint32_t>(name.size() + 1);
        std::string request;
        for (int shift = 0; shift < 32; shift += 8) request += static_cast<char>(n >> shift);
        request += name + '\xDD';
        if (send(fd, request.data(), request.size(), MSG_NOSIGNAL) ==
            static_cast<ssize_t>(request.size())) {
            std::string reply;
            char buffer[8192];
            for (ssize_t got; (got = recv(fd, buffer, sizeof buffer, 0)) > 0;)
                reply.append(buffer, static_cast<std::size_t>(got));
            if (reply.size() >= 4) {
                std::uint32_t length = 0;
                for (int at = 3; at >= 0; --at)
                    length = (length << 8) | static_cast<unsigned char>(reply[at]);
                if (reply.size() - 4 == length) file = reply.substr(4);
            }
        }
    }
    close(fd);
    return file;
}

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(generator());
    return bytes;
}

TEST(NewListingServed, AddedListingAndItsPhotosReachAnotherMember) {
    TempProgramDirectory home;
    ScriptedUi ui;
    // Stand-in of the marketplace server: the new listing gets the id 17.
    ScriptedHttpServer market;
    market.reply("/tradeloom/app/newproduct.asp", "17");
    market.reply("/tradeloom/app/addfilesize.asp", "");
    setServerHost(market.host());
    session() = Session{};
    session().currentUserName = "ann";
    std::vector<int> shownViews;
    setViewSwitcher([&](int view) { shownViews.push_back(view); });

    const std::string front = randomBytes(70000, 1), back = randomBytes(3000, 2);
    home.write("camera/front.jpg", front);
    home.write("camera/back.jpg", back);

    CView3 form;
    form.show();
    auto edit = [&](int id, const char* text) { findControl<QLineEdit>(&form, id)->setText(text); };
    edit(res::IDC_ITEM_TITLE, "Brass lamp");
    findControl<QPlainTextEdit>(&form, res::IDC_ITEM_DESCRIPTION)->setPlainText("Works well");
    edit(res::IDC_ITEM_ZIPCODE, "12345");
    edit(res::IDC_ITEM_QUANTITY, "1");
    edit(res::IDC_ITEM_PRICE, "25.00");
    edit(res::IDC_ITEM_CATEGORY1, "Lighting");
    findControl<QAbstractButton>(&form, 1227)->click();
    for (const char* photo : {"camera/front.jpg", "camera/back.jpg"}) {
        ui.chooseFile(home.path() + photo);
        findControl<QAbstractButton>(&form, res::IDC_ITEM_ATTACH)->click();
    }
    findControl<QAbstractButton>(&form, res::IDC_ITEM_ADD)->click();

    ASSERT_EQ(ui.boxes(),
              (std::vector<ScriptedUi::Box>{
                  {"Product Added", "Item #17 was succefully add to your sharable directory."}}));
    EXPECT_EQ(shownViews, std::vector<int>{4});
    EXPECT_TRUE(market.waitForRequests(2, 2000));
    EXPECT_EQ(market.targets().back(), "/tradeloom/app/addfilesize.asp?productid=17&filesize=71");

    LoopbackListingServer listingServer;
    ASSERT_NE(listingServer.port(), 0);

    // The listing travels as stored: scrambled.
    const std::optional<std::string> listing = fetchFile(listingServer.port(), "17.xml");
    ASSERT_TRUE(listing.has_value());
    EXPECT_EQ(*listing, home.read("products/17.xml"));
    std::string plain = *listing;
    scrambleBytes(plain);
    XmlDocument document;
    ASSERT_TRUE(document.loadXml(plain));
    std::vector<std::string> entries;
    for (const XmlNode& entry : document.elementsByTagName("attach"))
        entries.push_back(entry.text());
    ASSERT_EQ(entries, (std::vector<std::string>{"17/front.jpg", "17/back.jpg"}));

    // Attachments are asked for with "\" as the folder separator.
    EXPECT_EQ(fetchFile(listingServer.port(), "17\\front.jpg"), front);
    EXPECT_EQ(fetchFile(listingServer.port(), "17\\back.jpg"), back);

    setViewSwitcher({});
    setServerHost("");
    session() = Session{};
}

}  // namespace
}  // namespace tl::test
