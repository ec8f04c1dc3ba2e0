#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/listings/FileScramble.h"
#include "core/platform/ServerHost.h"
#include "core/platform/XmlDocument.h"
#include "core/session/Session.h"
#include "gui/listings/CView3.h"
#include "gui/widgets/Controls.h"
#include "ids_listings.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl::test {

using Boxes = std::vector<ScriptedUi::Box>;

inline constexpr char kNewProductPath[] = "/tradeloom/app/newproduct.asp";
inline constexpr char kFileSizePath[] = "/tradeloom/app/addfilesize.asp";

// A member "ann" with a business card, a marketplace server that gives the ids 17, 18, ... to
// new listings, and a main frame that records the views it is asked to show.
class NewListingTest : public ::testing::Test {
protected:
    NewListingTest() {
        setServerHost(server.host());
        session() = Session{};
        session().currentUserName = "ann";
        session().cardFileName = "ann_card";
        session().wordListFileName = "words.xml";
        server.handle(kNewProductPath, [this](const ScriptedHttpServer::Request&) {
            return std::to_string(nextId++);
        });
        server.reply(kFileSizePath, "");
    }
    ~NewListingTest() override {
        setServerHost("");
        session() = Session{};
    }

    // A form as the main frame shows it: initial update done.
    std::unique_ptr<CView3> shownForm() {
        auto form = std::make_unique<CView3>();
        form->show();
        return form;
    }

    template <class T = QWidget>
    static T* control(const QWidget& form, int id) {
        T* found = findControl<T>(&form, id);
        EXPECT_NE(found, nullptr) << "control " << id;
        return found;
    }
    static void type(const QWidget& form, int id, const char* text) {
        control<QLineEdit>(form, id)->setText(text);
    }
    static void click(const QWidget& form, int id) { control<QAbstractButton>(form, id)->click(); }
    static bool checked(const QWidget& form, int id) {
        return control<QAbstractButton>(form, id)->isChecked();
    }

    // Fills every required field; Money Order is the payment method.
    static void fillItem(const QWidget& form, const char* price = "5.99") {
        type(form, res::IDC_ITEM_TITLE, "Oak chair");
        control<QPlainTextEdit>(form, res::IDC_ITEM_DESCRIPTION)->setPlainText("Sturdy & old");
        type(form, res::IDC_ITEM_ZIPCODE, "12345");
        type(form, res::IDC_ITEM_QUANTITY, "1");
        type(form, res::IDC_ITEM_PRICE, price);
        type(form, res::IDC_ITEM_CATEGORY1, "Furniture; Chairs");
        control<QAbstractButton>(form, 1162)->setChecked(true);
    }

    // The photo files a member picks with "Attach Photos".
    void attach(const QWidget& form, const std::vector<std::string>& paths) {
        for (const std::string& path : paths) {
            ui.chooseFile(path);
            click(form, res::IDC_ITEM_ATTACH);
        }
    }

    std::vector<std::string> targetsOf(const std::string& path) const {
        std::vector<std::string> found;
        for (const std::string& target : server.targets())
            if (target.starts_with(path + "?")) found.push_back(target);
        return found;
    }

    // A stored listing file made plain, as a document.
    std::unique_ptr<XmlDocument> storedListing(const std::string& relative) const {
        std::string bytes = home.read(relative);
        scrambleBytes(bytes);
        auto document = std::make_unique<XmlDocument>();
        EXPECT_TRUE(document->loadXml(bytes)) << relative << " is not a scrambled listing";
        return document;
    }
    // The documents anywhere in the program directory that lie plain on disk.
    std::vector<std::string> plainDocuments() const {
        std::vector<std::string> plain;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(home.path())) {
            const std::string relative = entry.path().string().substr(home.path().size());
            if (entry.is_regular_file() && relative.ends_with(".xml") &&
                home.read(relative).starts_with("<"))
                plain.push_back(relative);
        }
        return plain;
    }
    static std::string field(const XmlDocument& listing, const char* name) {
        const XmlNode node = listing.documentElement().selectSingleNode(name);
        return node ? node.text() : "<missing>";
    }
    static std::vector<std::string> entries(const XmlDocument& listing) {
        std::vector<std::string> texts;
        for (const XmlNode& entry : listing.elementsByTagName("attach"))
            texts.push_back(entry.text());
        return texts;
    }

    TempProgramDirectory home;
    ScriptedUi ui;
    ScriptedHttpServer server;
    int nextId = 17;
    std::vector<View> shownViews;
    ScopedViewSwitcher frame{[this](View view) { shownViews.push_back(view); }};
};

}  // namespace tl::test
