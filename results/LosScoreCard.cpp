#include "results/LosScoreCard.h"

#include "foundation/TextRules.h"
#include "mainwindow/MainWindowLoad.h"
#include "results/ExamResult.h"

#include <algorithm>
#include <unordered_set>

QString losIdentifier(const std::array<QVariant, 4>& parts)
{
    QStringList texts;
    for (const QVariant& part : parts)
        texts << (part.isNull() ? QString() : trimBlanks(part.toString()));
    return texts.join(QLatin1Char('.'));
}

int losProgressValue(int record, int count)
{
    if (count <= 0)
        return 1;
    return std::max(1, roundedRatio(100LL * std::clamp(record, 0, count), count));
}

namespace {

bool achieved(const QVariant& status)
{
    return !status.isNull() && status.toDouble() == 1.0;
}

} // namespace

bool LosEntry::complete() const
{
    return everyRowAchieved && achieved(status);
}

void LosScoreCard::fillTree(const QString& examName, const std::vector<ExamBank::TreeCategory>& categories)
{
    logTreeFill(categories, QStringLiteral("frmLOS"));
    tree.fill(examName, categories);
}

namespace {

std::optional<int> code(const ObjectiveTable::ScoreCardRow& row, const QVariant& value)
{
    if (!row.hasQuestion || value.isNull())
        return std::nullopt;
    return wholeNumber(value);
}

LosEntry entryOf(const ObjectiveTable::ScoreCardRow& row, const QString& identifier)
{
    LosEntry entry;
    entry.questCode = wholeNumber(row.questCode);
    entry.identifier = identifier;
    entry.status = row.status;
    entry.category = code(row, row.category);
    entry.chapter = code(row, row.chapter);
    return entry;
}

} // namespace

std::vector<LosItem> LosScoreCard::load(const std::vector<ObjectiveTable::ScoreCardRow>& rows,
                                        const std::function<void(int)>& progress)
{
    m_grid.clear();
    const int count = int(rows.size());
    std::optional<size_t> standIn;
    QString current;
    bool everyRowAchieved = true;
    const auto keep = [&] {
        if (!standIn)
            return;
        m_grid.push_back(entryOf(rows[*standIn], current));
        m_grid.back().everyRowAchieved = everyRowAchieved;
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        if (progress)
            progress(losProgressValue(int(i) + 1, count));
        QString identifier = losIdentifier(rows[i].parts);
        if (!standIn || identifier != current) {
            keep();
            current = std::move(identifier);
            standIn = i;
            everyRowAchieved = true;
        } else if (!rows[*standIn].hasQuestion && rows[i].hasQuestion) {
            // A row whose question is gone does not count: the objective's
            // next row stands for it.
            standIn = i;
        }
        // A question that is gone cannot be answered: its row does not count.
        if (rows[i].hasQuestion && !achieved(rows[i].status))
            everyRowAchieved = false;
    }
    keep();
    refreshSelection();
    return list(LosFilter::All);
}

void LosScoreCard::refreshSelection()
{
    std::unordered_set<int> categories;
    std::unordered_set<int> chapters;
    for (const auto& [code, ticked] : tree.categoryTicks())
        if (ticked)
            categories.insert(code);
    for (const auto& [code, ticked] : tree.chapterTicks())
        if (ticked)
            chapters.insert(code);
    for (LosEntry& entry : m_grid)
        entry.selected =
            (entry.category && categories.count(*entry.category)) || (entry.chapter && chapters.count(*entry.chapter));
}

std::vector<LosItem> LosScoreCard::list(LosFilter filter) const
{
    std::vector<LosItem> items;
    for (const LosEntry& entry : m_grid) {
        if (!entry.selected)
            continue;
        const bool complete = entry.complete();
        if ((filter == LosFilter::Complete && !complete) || (filter == LosFilter::Incomplete && complete))
            continue;
        items.push_back({QStringLiteral("K%1").arg(items.size() + 1), entry.identifier, complete});
    }
    return items;
}

std::vector<LosItem> LosScoreCard::nodeChecked(int node)
{
    // Ticks reach children and parents as in the main window's practice
    // mode; no questions are counted.
    tree.nodeChecked(node, true);
    refreshSelection();
    return list(LosFilter::All);
}

std::vector<LosItem> LosScoreCard::nodeClicked(int node)
{
    tree.nodeClicked(node, true);
    refreshSelection();
    return list(LosFilter::All);
}
