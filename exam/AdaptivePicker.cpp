#include "exam/AdaptivePicker.h"

#include "exam/QuestionList.h"
#include "exam/QuestionSetBuilder.h"
#include "exam/RandomSource.h"
#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/ExamBank.h"
#include "foundation/Messages.h"
#include "foundation/QuestionsHeadTable.h"
#include "foundation/SharedState.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

#include <stdexcept>
#include <unordered_set>
#include <utility>

namespace {

constexpr int kTopLevel = 10;

} // namespace

QVariant CategoryCursor::catCode() const
{
    if (m_position < 0 || m_position >= m_rows.recordCount())
        throw std::out_of_range("No current category row.");
    return m_rows[m_position].value(QStringLiteral("Qc_catcode"));
}

void CategoryCursor::moveNext()
{
    ++m_position;
    if (m_position >= m_rows.recordCount())
        m_position = 0;
}

AdaptivePicker::AdaptivePicker(db::Connection& ExamConn, QuestionList& msflex, CategoryCursor& CategoryRs,
                               RandomSource& random, ShowQuestion showQuestion, int& AdaptiveLevel,
                               ShowFailure showFailure)
    : m_conn(ExamConn), m_msflex(msflex), m_categories(CategoryRs), m_random(random),
      m_showQuestion(std::move(showQuestion)), m_level(AdaptiveLevel), m_showFailure(std::move(showFailure))
{
}

bool AdaptivePicker::PickAdaptiveQuestionLoop()
{
    // Each fruitless pick moves the cursor on by one, so as many of them as
    // there are categories mean every category has been tried.
    const int categories = m_categories.count();
    for (int fruitless = 0; fruitless < categories;) {
        switch (pick()) {
        case Pick::Shown:
            return true;
        case Pick::Failed:
            return false;
        case Pick::MovedOn:
            ++fruitless;
            break;
        }
    }
    return false;
}

bool AdaptivePicker::PickAdaptiveQuestion()
{
    return pick() == Pick::Shown;
}

AdaptivePicker::Pick AdaptivePicker::pick()
{
    try {
        NextDifficultyLevel(m_level);
        int level = m_level;
        const QVariant category = m_categories.catCode();

        std::unordered_set<int> taken;
        for (int row = 1; row < m_msflex.rows(); ++row)
            taken.insert(m_msflex.questionCode(row));
        const std::vector<ExamBank::PoolQuestion> questions = ExamBank(m_conn).categoryPool(category);

        // The first level from the current one up that still has an untaken
        // question; the level itself stays where the step put it.
        for (;;) {
            m_pool.clear();
            for (const ExamBank::PoolQuestion& q : questions)
                if (q.difficulty == level && !taken.count(q.code))
                    m_pool.push_back(
                        {q.code, q.type, q.categoryIsNull ? QString() : QString::number(q.category), false});
            if (!m_pool.empty())
                break;
            if (++level > kTopLevel) {
                m_categories.moveNext();
                return Pick::MovedOn;
            }
        }

        m_random.randomize();
        PoolRow* chosen = nullptr;
        while (!chosen) {
            PoolRow& row = m_pool[size_t(QuestionSetBuilder::drawIndex(m_random.rnd(), int(m_pool.size())))];
            if (!row.taken)
                chosen = &row;
            else if (AllPoolQuestionsUsed()) {
                m_categories.moveNext();
                return Pick::MovedOn;
            }
        }
        chosen->taken = true;
        m_msflex.addItem(QString::number(chosen->code) + QLatin1Char('\t') + QString::number(chosen->type)
                         + QStringLiteral("\t \t") + chosen->category);
        if (m_showQuestion)
            m_showQuestion(chosen->code, m_msflex.rows() - 1);
        return Pick::Shown;
    } catch (const std::exception& error) {
        WriteLog(QString::fromUtf8(error.what()) + QStringLiteral(": AdaptivePicker: ") + logDateTime());
        const QString text = dynamic_cast<const db::DbError*>(&error)
            ? commandFailureText(QStringLiteral("The next question could not be chosen."),
                                 DatabaseFile::exam(m_conn.path()), error)
            : QString::fromUtf8(error.what());
        if (m_showFailure)
            m_showFailure(text);
        else
            ShowMessage(text, gLogin.gAppName, OneButton);
    }
    return Pick::Failed;
}

void AdaptivePicker::NextDifficultyLevel(int& level)
{
    if (m_msflex.rows() < 2) {
        if (level == 0)
            level = 1;
        return;
    }
    if (LastInCategoryCorrect())
        level = level >= kTopLevel ? 1 : level + 1;
}

bool AdaptivePicker::LastInCategoryCorrect()
{
    const int current = wholeNumber(m_categories.catCode());
    for (int row = m_msflex.rows() - 1; row >= 1; --row)
        if (GetQuestionCategory(m_msflex.questionCode(row)) == current)
            return m_msflex.text(row, colCorrect).trimmed() == QLatin1String("1");
    return false;
}

int AdaptivePicker::GetQuestionCategory(int questCode)
{
    const std::optional<QuestionsHeadTable::Placement> placement = QuestionsHeadTable(m_conn).placement(questCode);
    return placement ? placement->categoryCode.value_or(0) : 0;
}

bool AdaptivePicker::AllPoolQuestionsUsed() const
{
    for (const PoolRow& row : m_pool)
        if (!row.taken)
            return false;
    return true;
}

bool AdaptivePool::GetNextPoolQuestion(int& first, int& second, QString& message)
{
    if (gAdaptivePool.empty()) {
        message = QStringLiteral("Could not execute") + m_appTitle + QStringLiteral("\r\nChapter not available. ");
        return false;
    }
    if (gAdaptivePos < 0 || gAdaptivePos >= int(gAdaptivePool.size())) {
        gAdaptivePos = 0;
        message = QStringLiteral("Could not continue this exam. No more Questions available. ");
        return false;
    }
    const Entry& entry = gAdaptivePool[size_t(gAdaptivePos)];
    first = entry.second;
    second = entry.first;
    ++gAdaptivePos;
    return true;
}
