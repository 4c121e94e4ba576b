#include "mainwindow/CategoryTree.h"

#include <algorithm>

CategoryTree::CategoryTree()
{
    fill(QString(), {});
}

int CategoryTree::add(Node node)
{
    const int index = size();
    if (!node.key.isEmpty())
        m_keys.insert(node.key, index);
    if (node.parent >= 0)
        m_nodes[size_t(node.parent)].children.push_back(index);
    m_nodes.push_back(std::move(node));
    return index;
}

void CategoryTree::fill(const QString& examName, const std::vector<ExamBank::TreeCategory>& categories)
{
    m_nodes.clear();
    m_keys.clear();
    add({Kind::Root, QString(), examName, QStringLiteral("Qe_Category"), 0, -1, {}, true, true});
    for (const ExamBank::TreeCategory& category : categories) {
        const int parent = add({Kind::Category,
                                QStringLiteral("ID%1").arg(category.code),
                                category.description,
                                QStringLiteral("Category"),
                                category.code,
                                kRoot,
                                {},
                                true,
                                true});
        for (const ExamBank::TreeChapter& chapter : category.chapters)
            add({Kind::Chapter,
                 QStringLiteral("%1ID").arg(chapter.code),
                 chapter.description,
                 QStringLiteral("Chapters"),
                 chapter.code,
                 parent,
                 {},
                 true,
                 true});
    }
}

int CategoryTree::find(const QString& key) const
{
    return m_keys.value(key, -1);
}

bool CategoryTree::nodeChecked(int index, bool practice)
{
    if (isChecked(index))
        setChecked(kRoot, true);
    const bool recount = applyNodeCheck(index, practice);
    checkCategoryNodes();
    return recount;
}

bool CategoryTree::nodeClicked(int index, bool practice)
{
    setChecked(index, !isChecked(index));
    return nodeChecked(index, practice);
}

bool CategoryTree::applyNodeCheck(int index, bool practice)
{
    if (!isChecked(kRoot)) {
        setAllNodesChecked(false);
        return false;
    }
    const Node& changed = node(index);
    const bool leaf = changed.children.empty();
    if (changed.checked && leaf)
        checkParentAndRoot(index);
    if (!practice)
        return false;
    if (!leaf)
        setDescendants(index, changed.checked);
    else if (syncCategoryChecks(index) && changed.parent >= 0)
        setChecked(changed.parent, false);
    return true;
}

void CategoryTree::checkParentAndRoot(int index)
{
    if (node(index).parent >= 0)
        setChecked(node(index).parent, true);
    setChecked(kRoot, true);
}

void CategoryTree::setDescendants(int index, bool checked)
{
    for (const int child : node(index).children) {
        setChecked(child, checked);
        setDescendants(child, checked);
    }
}

void CategoryTree::setAllNodesChecked(bool checked)
{
    for (Node& n : m_nodes)
        n.checked = checked;
}

void CategoryTree::expandAll()
{
    if (node(kRoot).children.empty())
        return;
    setChecked(kRoot, true);
    m_nodes[kRoot].expanded = true;
    for (const int category : node(kRoot).children) {
        setChecked(category, true);
        m_nodes[size_t(category)].expanded = true;
        actionToChildNodes(category);
    }
}

void CategoryTree::actionToChildNodes(int index)
{
    const std::vector<int>& children = node(index).children;
    if (children.empty())
        return;
    for (const int child : children)
        setChecked(child, true);
    m_nodes[size_t(children.front())].expanded = true;
}

bool CategoryTree::checkCategoryNodes()
{
    const bool anyCategory = std::any_of(m_nodes.begin(), m_nodes.end(),
                                         [](const Node& n) { return n.kind == Kind::Category && n.checked; });
    if (anyCategory)
        return false;
    setChecked(kRoot, false);
    return true;
}

bool CategoryTree::syncCategoryChecks(int selected) const
{
    const Node& chosen = node(selected);
    const int owner = selected == kRoot ? kRoot : chosen.parent;
    if (owner < 0)
        return true;
    const std::vector<int>& group = node(owner).children;
    return std::none_of(group.begin(), group.end(), [this](int member) { return isChecked(member); });
}

bool CategoryTree::isCodeSelected(int categoryCode, int chapterCode) const
{
    return std::any_of(m_nodes.begin(), m_nodes.end(), [&](const Node& n) {
        return n.checked
            && ((n.kind == Kind::Category && n.code == categoryCode)
                || (n.kind == Kind::Chapter && n.code == chapterCode));
    });
}

std::vector<std::pair<int, bool>> CategoryTree::categoryTicks() const
{
    std::vector<std::pair<int, bool>> ticks;
    for (const Node& n : m_nodes)
        if (n.kind == Kind::Category)
            ticks.emplace_back(n.code, n.checked);
    return ticks;
}

std::vector<std::pair<int, bool>> CategoryTree::chapterTicks() const
{
    std::vector<std::pair<int, bool>> ticks;
    for (const Node& n : m_nodes)
        if (n.kind == Kind::Chapter)
            ticks.emplace_back(n.code, n.checked);
    return ticks;
}

QuestionCounts::QuestionCounts(const std::vector<ExamBank::PlaceCount>& places)
{
    for (const ExamBank::PlaceCount& place : places) {
        if (place.chapter == 0)
            m_categories[place.category] += place.questions;
        else
            m_chapters[place.chapter] += place.questions;
    }
}

int QuestionCounts::ofChapter(int chapterCode) const
{
    const auto it = m_chapters.find(chapterCode);
    return it == m_chapters.end() ? 0 : it->second;
}

int QuestionCounts::ofCategoryItself(int categoryCode) const
{
    const auto it = m_categories.find(categoryCode);
    return it == m_categories.end() ? 0 : it->second;
}

int QuestionCounts::countChecked(const CategoryTree& tree) const
{
    int total = 0;
    for (const CategoryTree::Node& n : tree.nodes()) {
        if (!n.checked)
            continue;
        if (n.kind == CategoryTree::Kind::Chapter)
            total += ofChapter(n.code);
        else if (n.kind == CategoryTree::Kind::Category)
            total += ofCategoryItself(n.code);
    }
    return total;
}
