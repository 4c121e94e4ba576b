#include "notes/NoteAnswerListings.h"

#include "foundation/AnswerListings.h"
#include "foundation/ExamBank.h"

#include <map>

NoteAnswerListings::NoteAnswerListings(db::Connection& exam) : m_conn(exam), m_tables(exam)
{
}

QString NoteAnswerListings::CheckAllAnswerTableForNote(int questCode, bool answers)
{
    const AnswerTables::AnswerKind kind = m_tables.answerKind(questCode);
    if (kind.hasChoices)
        return GetAllAnswersForNoteChoice(questCode, answers);
    if (kind.hasFillAnswers)
        return answers ? GetaLLAnswersForNoteEssay(questCode) : QString();
    if (kind.interactiveCode == 1 && kind.hasListRows)
        return GetAllAnswersForNoteInter(questCode, answers);
    if (kind.interactiveCode == 2 && kind.hasTreeRows)
        return GetAllAnswersForNoteInterTree(questCode);
    if (kind.interactiveCode == 3 && kind.hasListRows)
        return GetAllAnswersForNoteInterSelect(questCode);
    return QString();
}

QString NoteAnswerListings::GetAllAnswersForNoteChoice(int questCode, bool answers)
{
    return answer_rows::choiceRows(m_tables.choicesAsStored(questCode), answers);
}

QString NoteAnswerListings::GetaLLAnswersForNoteEssay(int questCode)
{
    return answer_rows::essayRows(ExamBank(m_conn).fillAnswers(questCode));
}

QString NoteAnswerListings::GetAllAnswersForNoteInter(int questCode, bool answers)
{
    return answer_rows::orderedListRows(m_tables.orderedListRows(questCode), answers);
}

QString NoteAnswerListings::GetAllAnswersForNoteInterTree(int questCode)
{
    // Only rows that carry both the tree's root text and a node.
    std::vector<AnswerTables::TreeRow> nodes;
    for (AnswerTables::TreeRow& row : m_tables.treeRows(questCode))
        if (row.rootText && row.leftItem)
            nodes.push_back(std::move(row));
    QString html;
    if (!nodes.empty()) {
        std::multimap<int, QString> leaves;
        for (const AnswerTables::Leaf& leaf : m_tables.treeLeaves(questCode))
            if (leaf.nodeSeq && leaf.text)
                leaves.emplace(*leaf.nodeSeq, *leaf.text);
        html += QStringLiteral("<tr><td colspan=2>&nbsp;&#149; ") + *nodes.front().rootText + QStringLiteral("<BR>");
        for (const AnswerTables::TreeRow& node : nodes) {
            html += answer_rows::bulletLine(*node.leftItem);
            if (!node.leftSeq)
                continue;
            const auto [first, last] = leaves.equal_range(*node.leftSeq);
            for (auto leaf = first; leaf != last; ++leaf)
                html += answer_rows::deepBulletLine(leaf->second);
        }
    }
    return html + QStringLiteral("</td></tr>");
}

QString NoteAnswerListings::GetAllAnswersForNoteInterSelect(int questCode)
{
    return answer_rows::placeRows(m_tables.placePairs(questCode));
}
