#include <gtest/gtest.h>

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <functional>

#include "SearchReplies.h"
#include "core/platform/ProgramDirectory.h"
#include "core/service/ServiceRequest.h"
#include "core/session/Session.h"
#include "gui/reflists/CCategoryDlg.h"
#include "gui/search/CDisabledLowR.h"
#include "gui/search/CView2.h"
#include "gui/search/ResultList.h"
#include "gui/session/ListSelection.h"
#include "gui/widgets/Controls.h"
#include "ids_reflists.h"
#include "ids_search.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

using Boxes = std::vector<ScriptedUi::Box>;

constexpr char kAdvancedPage[] = "/tradeloom/app/advancedsearch.asp";
constexpr char kClubPage[] = "/RUViviride/clubs.asmx/ListClubs";

// A club list whose first child is the count; the clubs come unsorted.
std::string clubReply(const std::string& host) {
    return "<string xmlns=\"http://" + host +
           "/\">&lt;Clubs&gt;&lt;Count&gt;2&lt;/Count&gt;&lt;Club&gt;Radios&lt;/Club&gt;&lt;"
           "Club&gt;Chess&lt;/Club&gt;&lt;/Clubs&gt;</string>";
}

// The advanced search form above its bar in one window, against a scripted server.
struct AdvancedSearchTest : ::testing::Test {
    test::TempProgramDirectory home;
    test::ScriptedHttpServer server;
    test::ScopedServerHost host{server.host()};
    test::ScopedSessionValues values;
    ScriptedUi ui;
    std::vector<std::string> log;  // downloads and views switched to
    test::ScopedViewSwitcher switcher{[this](View view) { log.push_back(test::viewLine(view)); }};
    QWidget window;
    CView2* form = new CView2(&window);
    CDisabledLowR* bar = new CDisabledLowR(&window);

    AdvancedSearchTest() {
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(form);
        layout->addWidget(bar);
        session().categoryFileName = "NewTLTree.xml";
        home.write("NewTLTree.xml", "<root><Furniture><Tables/></Furniture><Toys/></root>");
        server.reply(kClubPage, clubReply(server.host()));
        server.reply(kAdvancedPage, kThreeRowsReply);
    }
    template <class T = QLineEdit>
    T* control(int id) {
        return findControl<T>(form, id);
    }
    void press(int id) { findControl<QPushButton>(&window, id)->click(); }
    // Answers the next category picker by choosing the item with that label.
    void pickCategory(const std::string& label) {
        ui.onModal([label](ModalDialog& dialog) {
            auto& picker = dynamic_cast<CCategoryDlg&>(dialog);
            auto* tree = findControl<QTreeWidget>(&picker, res::IDC_CATEGORY_TREE);
            const auto found = tree->findItems(QString::fromStdString(label),
                                               Qt::MatchExactly | Qt::MatchRecursive);
            if (!found.isEmpty()) tree->setCurrentItem(found.front());
            picker.onSelect();
            return kDialogOk;
        });
    }
    std::string lastTarget() const {
        const std::vector<std::string> targets = server.targets();
        return targets.empty() ? "" : targets.back();
    }
    // Title, price, username, item #, size, speed, online status and kind of each row.
    std::vector<std::vector<std::string>> rows() const {
        std::vector<std::vector<std::string>> shown;
        const ResultList& list = form->list();
        for (int row = 0; row < list.topLevelItemCount(); ++row) {
            shown.emplace_back();
            for (int column : {1, 2, 3, 4, 6, 7, 8, 9})
                shown.back().push_back(list.topLevelItem(row)->text(column).toStdString());
        }
        return shown;
    }
};

TEST_F(AdvancedSearchTest, EveryCriterionGoesIntoTheRequestUnderItsKey) {
    window.show();
    form->hide();
    form->show();  // the clubs are read once, sorted, with none chosen
    auto* club = control<QComboBox>(res::IDC_ADV_CLUB);
    ASSERT_EQ(club->count(), 2);
    EXPECT_EQ(club->itemText(0), "Chess");
    EXPECT_EQ(club->currentIndex(), -1);
    const std::string longParent(40, 'P'), longChild(40, 'c');
    home.write("NewTLTree.xml", "<root><Furniture><Tables/></Furniture><" + longParent + "><" +
                                    longChild + "/></" + longParent + "></root>");
    struct Case {
        std::string name;
        std::function<void()> fill;  // after the bar's Clear
        std::string query;
    };
    const auto type = [this](int id, const char* text) { control(id)->setText(text); };
    const auto tick = [this](int id) { control<QRadioButton>(id)->click(); };
    // clang-format off
    const std::vector<Case> cases = {
        {"nothing chosen", [] {},
         "?titlebar=&description=&zipcode=&price=&category=&club=&status=&priceswitch=&user="},
        {"less than", [&] { type(res::IDC_ADV_PRICE, "10"); tick(res::IDC_ADV_LESS); },
         "?titlebar=&description=&zipcode=&price=10&category=&club=&status=&priceswitch=Less&user="},
        {"both kinds", [&] { tick(res::IDC_ADV_BOTH); },
         "?titlebar=&description=&zipcode=&price=&category=&club=&status=Both&priceswitch=&user="},
        {"every field", [&] {
             type(res::IDC_ADV_TITLE, "oak & pine");
             type(res::IDC_ADV_DESCRIPTION, "#1 chair");
             type(res::IDC_ADV_ZIPCODE, "12345");
             type(res::IDC_ADV_PRICE, "5.99");
             tick(res::IDC_ADV_GREATER);
             pickCategory("Tables");
             press(res::IDC_ADV_SELECT);
             club->setCurrentIndex(1);
             tick(res::IDC_ADV_WANTED);
             type(res::IDC_ADV_USER, "ann lee");
         },
         "?titlebar=oak%20%26%20pine&description=%231%20chair&zipcode=12345&price=5.99"
         "&category=Furniture%3B%20Tables&club=Radios&status=Buying&priceswitch=Greater&user=ann%20lee"},
        {"for sale, a long category kept whole", [&] {
             tick(res::IDC_ADV_FORSALE);
             pickCategory(longChild);
             press(res::IDC_ADV_SELECT);
         },
         "?titlebar=&description=&zipcode=&price=&category=" + longParent + "%3B%20" + longChild +
         "&club=&status=Selling&priceswitch=&user="},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Every case starts from the previous one's values: Clear must empty them all.
        press(res::IDC_DL_CLEAR);
        c.fill();
        press(res::IDC_DL_SEARCH);
        EXPECT_EQ(lastTarget(), kAdvancedPage + c.query);
        EXPECT_TRUE(ui.boxes().empty());
    }
    // The values stay for the next search until Clear.
    press(res::IDC_DL_SEARCH);
    EXPECT_EQ(lastTarget(), kAdvancedPage + cases.back().query);
}

TEST_F(AdvancedSearchTest, ResultsFillTheListAndAFailedSearchSaysWhy) {
    window.show();
    using Rows = std::vector<std::vector<std::string>>;
    const Rows three = {
        {"Brass lamp", "12.50", "bob", "9", "3", "56K", "", "buying"},
        {"Oak table", "Make Offer", "ann", "12", "120", "DSL", "On", "selling"},
        {"Pine chair", "Free", "cy", "100", "0", "T1", "Online", "buying"},
    };
    const Boxes noMatches = {{"No results Found", "no matches found"}};
    struct Case {
        std::string reply;  // "": the server cannot be reached
        Rows rows;
        Boxes boxes;
        std::vector<MessageIcon> icons;
    };
    const std::vector<Case> cases = {
        {kThreeRowsReply, three, {}, {}},
        {"<results/>", {}, noMatches, {MessageIcon::Exclamation}},
        {"Server busy", {}, noMatches, {MessageIcon::Exclamation}},
        {"", {}, {{kErrorCaption, kConnectionErrorText}}, {MessageIcon::None}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        server.reply(kAdvancedPage, kThreeRowsReply);
        press(res::IDC_DL_SEARCH);  // a full list first: each search replaces it
        ui.clear();
        host.set(c.reply.empty() ? "127.0.0.1:1" : server.host());
        server.reply(kAdvancedPage, c.reply);
        press(res::IDC_DL_SEARCH);
        host.set(server.host());
        EXPECT_EQ(rows(), c.rows);
        EXPECT_EQ(ui.boxes(), c.boxes);
        EXPECT_EQ(ui.icons(), c.icons);
    }
    // Without the club list the form still searches, with no club to choose.
    ui.clear();
    server.reply(kClubPage, "Service Unavailable");
    server.reply(kAdvancedPage, kThreeRowsReply);
    CView2 clubless;
    clubless.show();
    EXPECT_EQ(ui.boxes(), (Boxes{{"NewTLTree.xml", "Load Category Failed"}}));
    EXPECT_EQ(findControl<QComboBox>(&clubless, res::IDC_ADV_CLUB)->count(), 0);
    clubless.Search();
    EXPECT_EQ(clubless.list().topLevelItemCount(), 3);
}

TEST_F(AdvancedSearchTest, TheChosenRowIsWhatTheButtonsAndADoubleClickOpen) {
    window.show();
    bool downloadWorks = true;
    test::ScopedItemActions actions(
        [&](const std::string& id, const std::string& address) {
            EXPECT_EQ(session().webAddress, downloadsDirectory() + id + ".xml");
            log.push_back("download " + id + "@" + address);
            return downloadWorks;
        },
        {});
    press(res::IDC_DL_SEARCH);
    ResultList& list = form->list();
    ASSERT_EQ(list.topLevelItemCount(), 3);
    struct Case {
        int row;  // by item number: 9, 12, 100
        bool works;
        std::vector<std::string> log;
    };
    const std::vector<Case> cases = {
        {1, true, {"download 12@10.0.0.7", "view 4"}},
        {0, true, {"download 9@", "view 4"}},  // the poster is offline: fetched all the same
        {2, false, {"download 100@10.0.0.9"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        log.clear();
        downloadWorks = c.works;
        QTreeWidgetItem* row = list.topLevelItem(c.row);
        list.setCurrentItem(row);
        EXPECT_EQ(listSelection().advancedProductId, row->text(kItemNumberColumn).toStdString());
        EXPECT_EQ(listSelection().advancedSellerAddress, row->text(kAddressColumn).toStdString());
        EXPECT_EQ(listSelection().selectedSellerName, row->text(kUsernameColumn).toStdString());
        EXPECT_EQ(listSelection().selectedItemTitle, row->text(kTitleColumn).toStdString());
        EXPECT_TRUE(
            listSelection().selectedProductId.empty());  // the quick-search choice is not touched
        emit list.itemDoubleClicked(row, 1);
        EXPECT_EQ(log, c.log);
    }
    EXPECT_TRUE(ui.boxes().empty());
}

}  // namespace
}  // namespace tl
