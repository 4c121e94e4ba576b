#include "foundation/AnswerListings.h"

#include "foundation/DebugLog.h"
#include "foundation/SharedState.h"

#include <QStringList>

#include <exception>
#include <map>

namespace answer_rows {

namespace {

constexpr int kLabels = 7;
const QString kRowStart = QStringLiteral("<tr><td colspan=2>");
const QString kRowEnd = QStringLiteral("</td></tr>");
const QString kBullet = QStringLiteral("&nbsp;&#149;&nbsp;");

} // namespace

QString choiceLabel(int index)
{
    if (index < 0 || index >= kLabels)
        return QString();
    return QChar(u'A' + index) + QStringLiteral(") ");
}

QString choiceRows(const std::vector<ExamBank::Choice>& choices, bool showAnswers, int* unlabelled)
{
    QString rows;
    int missing = 0;
    for (size_t i = 0; i < choices.size(); ++i) {
        const ExamBank::Choice& choice = choices[i];
        rows += kRowStart;
        if (choice.right && showAnswers)
            rows += QStringLiteral("<b>* </b>");
        if (int(i) < kLabels)
            rows += choiceLabel(int(i));
        else
            ++missing;
        rows += choice.text + kRowEnd;
    }
    if (unlabelled)
        *unlabelled = missing;
    return rows;
}

QString essayRows(const std::vector<QString>& answers)
{
    if (answers.empty())
        return kRowEnd;
    QStringList texts;
    for (const QString& answer : answers)
        texts.append(answer);
    return QStringLiteral("<TR><TD COLSPAN=2>") + texts.join(QStringLiteral(", ")) + kRowEnd;
}

QString orderedListRows(const std::vector<AnswerTables::ListRow>& rows, bool showAnswers)
{
    if (rows.empty())
        return QString();
    QString html = QStringLiteral("<tr><td colspan=2> <UL>");
    for (const AnswerTables::ListRow& row : rows)
        html += QStringLiteral("<li>") + row.leftItem + QStringLiteral("</li>");
    html += QStringLiteral("</Ul></td></tr>");
    if (showAnswers) {
        html += QStringLiteral("<tr><td colspan=2> <b>Correct Order</b><UL>");
        // The order the exam grades by, which passes over blank items.
        for (const AnswerTables::ListRow& row : rows)
            if (!row.rightItem.trimmed().isEmpty())
                html += QStringLiteral("<li><b>") + row.rightItem + QStringLiteral("</b></li>");
        html += QStringLiteral("</Ul></td></tr>");
    }
    return html;
}

QString placeRows(const std::vector<AnswerTables::PlacePair>& pairs)
{
    QString html;
    if (!pairs.empty())
        html += kRowStart;
    for (const AnswerTables::PlacePair& pair : pairs) {
        if (!pair.leftText || !pair.rightText)
            continue;
        html += QStringLiteral("&nbsp;") + *pair.leftText + QStringLiteral("&nbsp;&nbsp;-------&nbsp;&nbsp;")
            + *pair.rightText + QStringLiteral("<BR>");
    }
    return html + kRowEnd;
}

QString bulletLine(const QString& text)
{
    return QStringLiteral("&nbsp;&nbsp;&nbsp;") + kBullet + text + QStringLiteral("<BR>");
}

QString deepBulletLine(const QString& text)
{
    return QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;") + kBullet + text + QStringLiteral("<BR>");
}

} // namespace answer_rows

namespace {

bool debugOn()
{
    return gStartup.gDebug == 1;
}

void logError(const std::exception& error, const QString& tag)
{
    WriteLog(QString::fromLocal8Bit(error.what()) + tag + logDate());
}

void logDone(const QString& text)
{
    if (debugOn())
        WriteLog(text + logDate());
}

} // namespace

AnswerListings::AnswerListings(db::Connection& exam, ChoiceArrangement arrange)
    : m_conn(exam), m_tables(exam), m_arrange(std::move(arrange))
{
}

QString AnswerListings::CheckAllAnswertableForNote(int questCode, bool showAnswers, int treeAnswers)
{
    QString result;
    int interactiveCode = 0;
    try {
        const AnswerTables::AnswerKind kind = m_tables.answerKind(questCode);
        interactiveCode = kind.interactiveCode;
        if (kind.hasChoices) {
            result = getAllAnswersForNoteChoice(questCode, showAnswers);
        } else if (kind.hasFillAnswers) {
            if (showAnswers)
                result = GetaLLAnswersForNoteEssay(questCode);
        } else if (interactiveCode == 1 && kind.hasListRows) {
            result = GetAllAnswersForNoteInter(questCode, showAnswers);
        } else if (interactiveCode == 2 && kind.hasTreeRows) {
            result = GetAllAnswersForNoteInterTree(questCode, treeAnswers);
        } else if (interactiveCode == 3 && kind.hasListRows) {
            // The pairs are the right placement: shown with the answers only.
            if (showAnswers)
                result = GetAllAnswersForNoteInterSelect(questCode);
        }
    } catch (const std::exception& error) {
        logError(error,
                 QStringLiteral(": CheckAllAnswertableForNote:basZiduver:Question Type %1: Date/Time :")
                     .arg(interactiveCode));
    }
    logDone(QStringLiteral("Answer Note selection Successful: CheckAllAnswertableForNote:basZiduver:Question Type %1"
                           ": Date/Time :")
                .arg(interactiveCode));
    return result;
}

QString AnswerListings::getAllAnswersForNoteChoice(int questCode, bool showAnswers)
{
    const QString suffix = QStringLiteral(" :getAllAnswersForNoteChoice:basZiduver: Date/Time :");
    const QString errorTag =
        QStringLiteral(": GetAllAnswesForNoteChoice:basZiduver:Question Type %1: Date/Time :").arg(questCode);
    QString rows;
    try {
        const std::vector<ExamBank::Choice> bySequence = ExamBank(m_conn).choices(questCode);
        const std::vector<ExamBank::Choice> listed = m_arrange ? m_arrange(questCode, bySequence) : bySequence;
        if (debugOn()) {
            QStringList order;
            for (const ExamBank::Choice& choice : listed)
                order.append(QString::number(choice.seq));
            WriteLog(QStringLiteral("choices of question %1 listed as %2").arg(questCode).arg(order.join(u',')) + suffix
                     + logDate());
        }
        int unlabelled = 0;
        rows = answer_rows::choiceRows(listed, showAnswers, &unlabelled);
        for (int i = 0; i < unlabelled; ++i)
            WriteLog(QStringLiteral("Subscript out of range") + errorTag + logDate());
        if (debugOn()) {
            WriteLog(rows + suffix + logDate());
            WriteLog(QStringLiteral("Note selection Successful: getAllAnswersForNoteChoice:basZiduver: Date/Time :")
                     + logDate());
        }
    } catch (const std::exception& error) {
        logError(error, errorTag);
    }
    return rows;
}

QString AnswerListings::GetaLLAnswersForNoteEssay(int questCode)
{
    QString rows;
    try {
        rows = answer_rows::essayRows(ExamBank(m_conn).fillAnswers(questCode));
    } catch (const std::exception& error) {
        logError(error, QStringLiteral(": GetaLLAnswersForNoteEssay:basZiduver:Date/Time :"));
    }
    logDone(QStringLiteral("Essay Question Successfull: GetaLLAnswersForNoteEssay:basZiduver: Date/Time :"));
    return rows;
}

QString AnswerListings::GetAllAnswersForNoteInter(int questCode, bool showAnswers)
{
    QString rows;
    try {
        rows = answer_rows::orderedListRows(m_tables.orderedListRows(questCode), showAnswers);
    } catch (const std::exception& error) {
        logError(error, QStringLiteral(": GetAllAnswersForNoteInter:basZiduver:Date/Time :"));
    }
    logDone(QStringLiteral("Interactive Questions Successful: GetAllAnswersForNoteInter:basZiduver: Date/Time :"));
    return rows;
}

QString AnswerListings::GetAllAnswersForNoteInterTree(int questCode, int treeAnswers)
{
    using answer_rows::bulletLine;
    QString html;
    try {
        const std::vector<AnswerTables::TreeRow> rows = m_tables.treeRows(questCode);
        if (!rows.empty()) {
            html += QStringLiteral("<tr><td colspan=2><table width=100% border=1><tr><td>&nbsp;&#149; ")
                + rows.front().rootText.value_or(QString()) + QStringLiteral("<BR>");
            for (const AnswerTables::TreeRow& row : rows)
                if (row.leftItem && !row.leftItem->isEmpty())
                    html += bulletLine(*row.leftItem);
            html += QStringLiteral("</td><td>");
            for (const AnswerTables::TreeRow& row : rows)
                if (row.rightItem && !row.rightItem->isEmpty())
                    html += bulletLine(*row.rightItem);
            html += QStringLiteral("</td></tr></table></td></tr>");
        }
        if (treeAnswers == 1) {
            std::multimap<int, QString> leaves;
            for (const AnswerTables::Leaf& leaf : m_tables.treeLeaves(questCode))
                if (leaf.nodeSeq && leaf.text)
                    leaves.emplace(*leaf.nodeSeq, *leaf.text);
            html += QStringLiteral("<tr><td colspan=2><b>Correct Order</B><br><br>");
            for (const AnswerTables::TreeRow& row : rows) {
                // A node without a text loses its line, not its leaves; no
                // bullet stands without a text.
                if (row.leftItem && !row.leftItem->trimmed().isEmpty())
                    html += bulletLine(*row.leftItem);
                if (!row.leftSeq)
                    continue;
                const auto [first, last] = leaves.equal_range(*row.leftSeq);
                for (auto leaf = first; leaf != last; ++leaf)
                    if (!leaf->second.trimmed().isEmpty())
                        html += answer_rows::deepBulletLine(leaf->second);
            }
            html += QStringLiteral("</td></tr>");
        }
    } catch (const std::exception& error) {
        logError(error, QStringLiteral(": GetAllAnswersForNoteInterTree:basZiduver:Date/Time :"));
    }
    logDone(QStringLiteral("Tree Questions Successful: GetAllAnswersForNoteInterTree:basZiduver: Date/Time :"));
    return html;
}

QString AnswerListings::GetAllAnswersForNoteInterSelect(int questCode)
{
    QString rows;
    try {
        rows = answer_rows::placeRows(m_tables.placePairs(questCode));
    } catch (const std::exception& error) {
        logError(error, QStringLiteral(": GetAllAnswersForNoteInterSelect:basZiduver:Date/Time :"));
    }
    logDone(QStringLiteral(
        "Select and Place Questions Successful: GetAllAnswersForNoteInterSelect:basZiduver: Date/Time :"));
    return rows;
}
