// Names in lists, tables and trees: columns fitted to their texts where
// there is room, and a cut text shown whole as its tip.
#include "platform/ui/WholeTextTips.h"
#include "tests/support/EventWaits.h"

#include <QHeaderView>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

TEST(WholeTextTips, ColumnsTakeWhatTheyWantWhereThereIsRoomElseShareIt)
{
    const struct {
        const char* name;
        std::vector<int> wanted;
        int room;
        std::vector<int> widths;
    } cases[] = {
        {"room for all", {50, 120, 80}, 400, {50, 120, 80}},
        {"narrow ones keep theirs, the wide share the rest", {60, 500, 400}, 460, {60, 200, 200}},
        {"all wide share equally", {300, 300}, 200, {100, 100}},
        {"no room", {30, 40}, 0, {0, 0}},
        {"no columns", {}, 100, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sharedWidths(c.wanted, c.room), c.widths) << c.name;
}

TEST(WholeTextTips, ATreeNameCutShortIsKnownAndTheColumnsFitWhereTheyCan)
{
    QTreeWidget tree;
    tree.setHeaderHidden(true);
    auto* shortName = new QTreeWidgetItem(&tree, {QStringLiteral("Kernel")});
    auto* longName =
        new QTreeWidgetItem(shortName, {QStringLiteral("System Architecture and Boot Sequence of a Linux machine")});
    tree.expandAll();
    tree.resize(160, 200);
    tree.show();
    ASSERT_TRUE(waitFor([&] { return tree.isVisible(); }));
    EXPECT_FALSE(textIsCut(&tree, tree.indexFromItem(shortName)));
    EXPECT_TRUE(textIsCut(&tree, tree.indexFromItem(longName)));
    tree.resize(contentWidthOf(&tree), 200);
    settle();
    EXPECT_FALSE(textIsCut(&tree, tree.indexFromItem(longName))) << "as wide as its content";

    QTreeWidget list;
    list.setHeaderLabels({QStringLiteral("Code"), QStringLiteral("Exam Name"), QStringLiteral("Path")});
    list.resize(600, 200);
    list.show();
    FitTextsWithTips(&list);
    new QTreeWidgetItem(&list,
                        {QStringLiteral("LSA"), QStringLiteral("Linux System Administration"),
                         QStringLiteral("/srv/exams/") + QString(60, QLatin1Char('x')) + QStringLiteral(".QZR")});
    settle();
    const QModelIndex name = list.model()->index(0, 1);
    EXPECT_FALSE(textIsCut(&list, name)) << "the name fits where the path is cut";
    EXPECT_TRUE(textIsCut(&list, list.model()->index(0, 2)));
    EXPECT_LE(list.header()->length(), list.viewport()->width() + 1);

    // A narrow list: every heading still reads whole, the texts share the rest.
    list.setHeaderLabels({QStringLiteral("Exam Code"), QStringLiteral("Exam Name"), QStringLiteral("Exam Path")});
    list.resize(340, 200);
    settle();
    for (int column = 0; column < 3; ++column)
        EXPECT_GE(list.header()->sectionSize(column), list.header()->sectionSizeHint(column)) << column;
    // Narrower still: a heading cut short reads whole as its tip.
    list.resize(150, 200);
    settle();
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(list.model()->headerData(column, Qt::Horizontal, Qt::ToolTipRole).toString(),
                  list.model()->headerData(column, Qt::Horizontal).toString())
            << column;
}

} // namespace
