#include "exam/ResponseRecorder.h"

#include "exam/GridPanes.h"
#include "foundation/DebugLog.h"
#include "foundation/ExamBank.h"
#include "foundation/TextRules.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace {

void logFailure(const QString& text, const char* procedure)
{
    WriteLog(text + QStringLiteral(" : ") + QLatin1String(procedure) + QStringLiteral(" : frmZiduver : Date/Time :")
             + logDateTime());
}

template <typename T> bool covers(const std::vector<T>& array, int index)
{
    return index >= 0 && index < int(array.size());
}

const QString kRightTag = QStringLiteral("Y");

} // namespace

void PreviousAnswers::dimension(int count)
{
    const size_t n = size_t(std::max(0, count));
    gPrevQuestType.assign(n, QString());
    gPrevQuestCode.assign(n, 0);
    gPrevChoiceList.assign(n, QString());
    gPrevChoice.assign(n, QString());
    gPrevFillText.assign(n, QString());
    gPrevEssayText.assign(n, QString());
}

ResponseRecorder::ResponseRecorder(std::vector<QuestionsHist>& gQuestHistory, PreviousAnswers& previous,
                                   const GridPanes& panes, QString examConnStr)
    : m_history(gQuestHistory), m_previous(previous), m_panes(panes), m_examConnStr(std::move(examConnStr))
{
}

bool ResponseRecorder::SaveQuestionResponse(const AnswerControls& controls, const QDateTime& now)
{
    if (m_history.empty()) {
        logFailure(QStringLiteral("No question history record"), "SaveQuestionResponse");
        return false;
    }
    QuestionsHist& record = m_history.back();
    record.setQuestLeaveTime(now);
    record.setisMarked(controls.Check1);

    bool answered = false;
    bool right = false;
    const int type = record.QuestionType();
    if (type == 1) {
        const std::vector<AnswerControls::Choice>& choices =
            controls.optionButtonsVisible ? controls.OptMultAnswer : controls.chkMultAnswer;
        for (size_t pos = 0; pos < choices.size(); ++pos) {
            if (!choices[pos].chosen)
                continue;
            record.setQuestAttentedPos(record.QuestAttentedPos() + QString::number(pos) + QLatin1Char(','));
            answered = true;
            right = choices[pos].tag == kRightTag; // the last chosen one decides
        }
    } else if (type == 3) {
        for (size_t pos = 0; pos < controls.txtFillin.size(); ++pos) {
            const QString text = trimBlanks(controls.txtFillin[pos].text);
            if (text.isEmpty())
                continue;
            record.setQuestAttentedPos(record.QuestAttentedPos() + QString::number(pos) + QLatin1Char(','));
            answered = true;
            right = controls.txtFillin[pos].tag.contains(text); // the last filled one decides
        }
    } else {
        // Essays and interactive questions keep only the leave time and the mark.
        return true;
    }
    record.setQuestLeaveTime(now);
    record.setisAnswerdCorrectly(right);
    record.setisAttented(answered);
    return true;
}

bool ResponseRecorder::CorrectAnsCheckPrevious(int index, const AnswerControls& controls)
{
    const auto outOfRange = [&] {
        logFailure(QStringLiteral("Subscript out of range (question number %1)").arg(index), "CorrectAnsCheckPrevious");
        return false;
    };
    if (!covers(m_previous.gPrevQuestType, index))
        return outOfRange();
    const size_t i = size_t(index);
    const QString type = m_previous.gPrevQuestType[i];

    if (type == QLatin1String("1")) {
        if (controls.optionButtonsVisible) {
            if (!covers(m_previous.gPrevChoice, index))
                return outOfRange();
            for (size_t pos = 0; pos < controls.OptMultAnswer.size(); ++pos)
                if (controls.OptMultAnswer[pos].chosen)
                    m_previous.gPrevChoice[i] = QString::number(pos);
        } else {
            if (!covers(m_previous.gPrevChoiceList, index))
                return outOfRange();
            for (size_t pos = 0; pos < controls.chkMultAnswer.size(); ++pos)
                if (controls.chkMultAnswer[pos].chosen)
                    m_previous.gPrevChoiceList[i] += QString::number(pos) + QLatin1Char(',');
        }
    } else if (type == QLatin1String("2")) {
        if (!covers(m_previous.gPrevEssayText, index))
            return outOfRange();
        m_previous.gPrevEssayText[i] = trimBlanks(controls.txtMultilineEssay);
    } else if (type == QLatin1String("3")) {
        if (!covers(m_previous.gPrevFillText, index))
            return outOfRange();
        for (const AnswerControls::FillIn& box : controls.txtFillin) {
            const QString text = trimBlanks(box.text);
            // An empty blank stops the copy: the answer is not complete.
            if (text.isEmpty())
                return false;
            m_previous.gPrevFillText[i] += text + QLatin1Char('\r');
        }
    } else if (type == QLatin1String("4")) {
        if (!covers(m_previous.gPrevQuestCode, index))
            return outOfRange();
        int kind = 0;
        try {
            db::Connection exam = db::Connection::open(m_examConnStr);
            const std::optional<ExamBank::QuestionHead> head =
                ExamBank(exam).questionHead(m_previous.gPrevQuestCode[i]);
            kind = head ? head->interactiveCode : 0;
        } catch (const db::DbError& error) {
            logFailure(error.message(), "CorrectAnsCheckPrevious");
            return false;
        }
        if (kind == 1) {
            const PaneGrid& order = m_panes.grdRight;
            m_previous.gPrevOrderList = QStringList();
            for (int row = 0; row < order.rows(); ++row) {
                const QString text = trimBlanks(order.text(row, 0));
                m_previous.gPrevOrderList.append(text);
            }
        } else if (kind == 2) {
            const PaneGrid& tree = m_panes.grdLeft;
            m_previous.gPrevTreeList = QStringList();
            for (int row = 0; row < tree.rows(); ++row)
                m_previous.gPrevTreeList.append(tree.text(row, 1) == QLatin1String("SG") ? trimBlanks(tree.text(row, 0))
                                                                                         : QString());
        } else if (kind == 3) {
            const PaneGrid& places = m_panes.grdAnswers;
            m_previous.gPrevPlaceList = QStringList();
            for (int row = 0; row < places.rows(); ++row)
                m_previous.gPrevPlaceList.append(places.text(row, 0));
        }
    }
    return true;
}
