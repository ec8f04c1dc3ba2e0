#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <functional>

#include "gui/reflists/CCategoryDlg.h"
#include "gui/search/CDisabledLowR.h"
#include "gui/search/CView2.h"
#include "gui/search/ResultList.h"
#include "gui/widgets/Controls.h"
#include "ids_reflists.h"
#include "ids_search.h"
#include "support/MarketplaceFixture.h"

namespace tl {
namespace {

// Two members in different clubs publish listings of both kinds; each criterion of the advanced
// search form, alone and together, lists exactly the listings that meet it.
using AdvancedSearch = test::MarketplaceTest;

TEST_F(AdvancedSearch, NarrowsByEachCriterion) {
    endpoints::MemberFields gardener = test::memberFields("seller2", "secret2");
    gardener.club1 = "Garden Swap";  // seller1 is in "Book Lovers"
    ASSERT_EQ(requestText(endpoints::newUser(gardener)), "0");
    logIn(seller);

    auto publish = [](const std::string& owner, const std::string& title,
                      const std::string& description, const std::string& zipcode,
                      const std::string& price, const std::string& kind,
                      const std::string& category) {
        endpoints::ListingFields l = test::listingFields(owner, title, price, kind);
        l.description = description;
        l.zipcode = zipcode;
        l.category1 = category;
        return test::publish(l);
    };
    const std::string table = publish("seller1", "Oak table", "Solid wood", "12345", "50",
                                      "Selling", "Antiques; Furniture");
    const std::string bench = publish("seller1", "Pine bench", "Painted pine", "54321", "5",
                                      "Buying", "Antiques; Clocks");
    const std::string clock = publish("seller2", "Oak clock", "Carved case", "12345", "-1",
                                      "Selling", "Antiques; Clocks");
    const std::string lamp =
        publish("seller2", "Brass lamp", "Old brass", "99999", "0", "Buying", "Toys");
    session().categoryFileName = "NewTLTree.xml";
    home.write("NewTLTree.xml", "<root><Antiques><Furniture/><Clocks/></Antiques><Toys/></root>");

    QWidget window;
    auto* form = new CView2(&window);
    auto* bar = new CDisabledLowR(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(form);
    layout->addWidget(bar);
    window.show();

    const auto type = [form](int id, const char* text) {
        findControl<QLineEdit>(form, id)->setText(text);
    };
    const auto tick = [form](int id) { findControl<QRadioButton>(form, id)->click(); };
    const auto club = [form](const char* name) {
        auto* box = findControl<QComboBox>(form, res::IDC_ADV_CLUB);
        box->setCurrentIndex(box->findText(name));
    };
    const auto category = [this, form](const char* label) {
        ui.onModal([label](ModalDialog& dialog) {
            auto& picker = dynamic_cast<CCategoryDlg&>(dialog);
            auto* tree = findControl<QTreeWidget>(&picker, res::IDC_CATEGORY_TREE);
            tree->setCurrentItem(tree->findItems(label, Qt::MatchExactly | Qt::MatchRecursive)[0]);
            picker.onSelect();
            return kDialogOk;
        });
        findControl<QPushButton>(form, res::IDC_ADV_SELECT)->click();
    };
    struct Case {
        const char* criterion;
        std::function<void()> fill;
        std::vector<std::string> ids;  // by item number
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"nothing", [] {}, {table, bench, clock, lamp}},
        {"title", [&] { type(res::IDC_ADV_TITLE, "OAK"); }, {table, clock}},
        {"description", [&] { type(res::IDC_ADV_DESCRIPTION, "pine"); }, {bench}},
        {"zip code", [&] { type(res::IDC_ADV_ZIPCODE, "12345"); }, {table, clock}},
        {"greater than", [&] { type(res::IDC_ADV_PRICE, "10"); tick(res::IDC_ADV_GREATER); }, {table}},
        {"less than", [&] { type(res::IDC_ADV_PRICE, "10"); tick(res::IDC_ADV_LESS); }, {bench, lamp}},
        {"category", [&] { category("Clocks"); }, {bench, clock}},
        {"parent category", [&] { category("Antiques"); }, {table, bench, clock}},
        {"club", [&] { club("Garden Swap"); }, {clock, lamp}},
        {"wanted", [&] { tick(res::IDC_ADV_WANTED); }, {bench, lamp}},
        {"for sale", [&] { tick(res::IDC_ADV_FORSALE); }, {table, clock}},
        {"both", [&] { tick(res::IDC_ADV_BOTH); }, {table, bench, clock, lamp}},
        {"user", [&] { type(res::IDC_ADV_USER, "seller1"); }, {table, bench}},
        {"together", [&] { type(res::IDC_ADV_TITLE, "oak"); tick(res::IDC_ADV_FORSALE);
                           type(res::IDC_ADV_USER, "seller2"); }, {clock}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.criterion);
        findControl<QPushButton>(bar, res::IDC_DL_CLEAR)->click();
        c.fill();
        findControl<QPushButton>(bar, res::IDC_DL_SEARCH)->click();
        std::vector<std::string> listed;
        const ResultList& list = form->list();
        for (int row = 0; row < list.topLevelItemCount(); ++row)
            listed.push_back(list.topLevelItem(row)->text(kItemNumberColumn).toStdString());
        EXPECT_EQ(listed, c.ids);
    }
    EXPECT_TRUE(ui.boxes().empty());
}

}  // namespace
}  // namespace tl
