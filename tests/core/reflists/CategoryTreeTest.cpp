#include <gtest/gtest.h>

#include "core/reflists/CategoryTree.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

// The tree as text: each item's label, its children in brackets, "+" after an expanded item.
std::string shape(const CategoryTree& tree, int item = CategoryTree::kTop) {
    const CategoryTree::Item& it = tree.items()[item];
    std::string text = it.label + (it.expanded ? "+" : "");
    if (it.children.empty()) return text;
    text += "[";
    for (std::size_t at = 0; at < it.children.size(); ++at)
        text += (at ? " " : "") + shape(tree, it.children[at]);
    return text + "]";
}

struct CategoryTreeTest : ::testing::Test {
    test::TempProgramDirectory home;
    std::string built(const std::string& xml) {
        home.write("tree.xml", xml);
        CategoryTree tree;
        EXPECT_TRUE(tree.build(home.path() + "tree.xml"));
        return shape(tree);
    }
};

TEST_F(CategoryTreeTest, NestedElementsBecomeNestedItemsUnderTheTopItem) {
    EXPECT_EQ(built("<root><Antiques><Furniture><Chairs/></Furniture></Antiques></root>"),
              "root+[root+[Antiques+[Furniture+[Chairs]]]]");
}

TEST_F(CategoryTreeTest, SiblingBranchesAfterADeepBranchClimbToTheirParentByLabel) {
    EXPECT_EQ(built("<C><A><A1><A1a/></A1></A><B><B1/></B></C>"), "root+[C+[A+[A1+[A1a]] B+[B1]]]");
    // Several siblings in a row: the second and later ones collapse their parent.
    EXPECT_EQ(built("<C><A><A1/><A2/><A3/></A><B/></C>"), "root+[C+[A[A1 A2 A3] B]]");
    EXPECT_EQ(built("<C><A/><B/></C>"), "root+[C[A B]]");
}

TEST_F(CategoryTreeTest, AttributesAndTextAreNotItems) {
    EXPECT_EQ(built("<root id=\"1\">Top<A>a text<!-- note --><B x=\"y\"/></A></root>"),
              "root+[root+[A+[B]]]");
}

TEST_F(CategoryTreeTest, LabelsAreComparedExactlyAndTheNearestOnTheWayUpWins) {
    // The second Misc is a child of root; its child New must land under it, not the first Misc.
    EXPECT_EQ(built("<root><A><Misc><Old/></Misc></A><Misc><New/></Misc></root>"),
              "root+[root+[A+[Misc+[Old]] Misc+[New]]]");
    // W's parent is the outer X, but the inner X is nearer on the way up: W goes there.
    EXPECT_EQ(built("<root><X><Y><X><Z/></X></Y><W/></X></root>"), "root+[root+[X+[Y+[X[Z W]]]]]");
    // Case counts: b belongs to "misc", not to the nearer "Misc".
    EXPECT_EQ(built("<root><misc><Misc><a/></Misc><b/></misc></root>"),
              "root+[root+[misc+[Misc+[a] b]]]");
}

TEST_F(CategoryTreeTest, AFileThatCannotBeLoadedLeavesOnlyTheTopItem) {
    CategoryTree tree;
    EXPECT_FALSE(tree.build(home.path() + "missing.xml"));
    home.write("bad.xml", "<root><A></root>");
    EXPECT_FALSE(tree.build(home.path() + "bad.xml"));
    home.write("empty.xml", "");
    EXPECT_FALSE(tree.build(home.path() + "empty.xml"));
    EXPECT_EQ(shape(tree), "root");
}

}  // namespace
}  // namespace tl
