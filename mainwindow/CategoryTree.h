#pragma once

#include "foundation/ExamBank.h"

#include <QHash>
#include <QString>
#include <unordered_map>
#include <utility>
#include <vector>

// The question pool of an exam as a three-level tree of ticks: the exam
// (root), its categories, and each category's chapters. Holds the ticks and
// the rules by which one changed tick moves the others; a window shows the
// nodes and reports the user's changes here. Node 0 is the root; the others
// follow in the order they were added (a category, then its chapters).
class CategoryTree {
public:
    enum class Kind { Root, Category, Chapter };
    struct Node {
        Kind kind = Kind::Root;
        QString key;  // "" for the root, "ID<code>" for a category, "<code>ID" for a chapter
        QString text; // the exam name, the category's or the chapter's description
        QString tag;  // "Qe_Category", "Category" or "Chapters"
        int code = 0;
        int parent = -1;
        std::vector<int> children;
        bool checked = true;
        bool expanded = true;
    };
    static constexpr int kRoot = 0;

    CategoryTree();
    // Replaces the tree: the root with the exam's name, then every category
    // with its chapters; every node ticked and expanded.
    void fill(const QString& examName, const std::vector<ExamBank::TreeCategory>& categories);

    int size() const { return int(m_nodes.size()); }
    const Node& node(int index) const { return m_nodes.at(size_t(index)); }
    const std::vector<Node>& nodes() const { return m_nodes; }
    bool isChecked(int index) const { return node(index).checked; }
    void setChecked(int index, bool checked) { m_nodes.at(size_t(index)).checked = checked; }
    // The node of a key, or -1.
    int find(const QString& key) const;

    // The user flipped the box of a node (its tick is already the new one).
    // `practice` is the practice mode, in which ticks reach children and
    // parents; outside it only the root follows. True when the pool under
    // the ticks is to be counted again.
    bool nodeChecked(int index, bool practice);
    // The user clicked a node's text: its tick flips, as by its box.
    bool nodeClicked(int index, bool practice);
    // The consequences of a node's new tick for the other nodes; true when
    // the pool is to be counted again (practice mode with the root ticked).
    bool applyNodeCheck(int index, bool practice);

    void setAllNodesChecked(bool checked);
    // Ticks the root and every category and chapter; an exam without
    // categories is left as it is.
    void expandAll();
    // Ticks every child of a node.
    void actionToChildNodes(int index);
    // Unticks the root when no category is ticked; true in that case.
    bool checkCategoryNodes();
    // True when no node of the group of `selected` is ticked: the root's
    // children for the root, else the node's siblings and itself.
    bool syncCategoryChecks(int selected) const;

    // True when a ticked category node has the category code, or a ticked
    // chapter node the chapter code.
    bool isCodeSelected(int categoryCode, int chapterCode) const;
    // Each category's / chapter's code with its tick, in node order.
    std::vector<std::pair<int, bool>> categoryTicks() const;
    std::vector<std::pair<int, bool>> chapterTicks() const;

private:
    void checkParentAndRoot(int index);
    void setDescendants(int index, bool checked);
    int add(Node node);

    std::vector<Node> m_nodes;
    QHash<QString, int> m_keys;
};

// The number of questions under each node, read once per load: a chapter
// counts its questions, a category the questions directly under it
// (chapter 0). A chapter row keyed 0 counts none of its own: questions of
// chapter 0 belong to their categories, so the tree never counts more than
// the practice pool that the exam draws from.
class QuestionCounts {
public:
    QuestionCounts() = default;
    explicit QuestionCounts(const std::vector<ExamBank::PlaceCount>& places);

    int ofChapter(int chapterCode) const;
    int ofCategoryItself(int categoryCode) const;
    // The questions under the ticked categories and chapters.
    int countChecked(const CategoryTree& tree) const;

private:
    std::unordered_map<int, int> m_chapters;
    std::unordered_map<int, int> m_categories;
};
