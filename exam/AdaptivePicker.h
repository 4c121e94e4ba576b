#pragma once

#include "platform/db/ResultSet.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <utility>
#include <vector>

namespace db {
class Connection;
}
class QuestionList;
class RandomSource;

// A current row over the mode's category rows (`CategoryRs`): it starts at
// the first row, and moving past the last row comes back to the first.
class CategoryCursor {
public:
    // `rows` must outlive the cursor.
    explicit CategoryCursor(const db::ResultSet& rows) : m_rows(rows) { }

    int count() const { return m_rows.recordCount(); }
    int position() const { return m_position; }
    // Qc_catcode of the current row; std::out_of_range without rows.
    QVariant catCode() const;
    void moveNext();

private:
    const db::ResultSet& m_rows;
    int m_position = 0;
};

// Builds an adaptive exam's question list one question at a time: each new
// question comes from the current category at a difficulty level (1 to 10)
// that rises after the category's last question was answered right. Rows it
// adds hold the question's category code in column 3.
class AdaptivePicker {
public:
    // Shows a question that was just added as row `row` of the list.
    using ShowQuestion = std::function<void(int questCode, int row)>;
    // Tells the user of the picker's failure; the exam window's own, which
    // holds the clock while the message is open. Without one the program's
    // message box shows it.
    using ShowFailure = std::function<void(const QString& text)>;

    // `AdaptiveLevel` is the level of the next question; the window sets it
    // to 1 on load. Every dependency must outlive the picker.
    AdaptivePicker(db::Connection& ExamConn, QuestionList& msflex, CategoryCursor& CategoryRs, RandomSource& random,
                   ShowQuestion showQuestion, int& AdaptiveLevel, ShowFailure showFailure = {});

    // Picks until a question is shown: true then. False when one full cycle
    // over the categories found nothing untaken at any level from the
    // current one to 10, when there are no categories, or after an error
    // (shown).
    bool PickAdaptiveQuestionLoop();
    // Steps the level and adds one untaken question of the current category
    // at that level (or the next level that has one, up to 10) and shows it:
    // true. False when the category had nothing left (the cursor then moves
    // to the next category), or after an error, which is shown (ShowFailure).
    bool PickAdaptiveQuestion();
    // The level after `level`: unchanged (0 taken as 1) while the list has
    // no question; else one up (10 is followed by 1) when the current
    // category's last question counts as right, unchanged otherwise.
    void NextDifficultyLevel(int& level);
    // True when the list's most recent question of the current category was
    // recorded as right.
    bool LastInCategoryCorrect();
    // The category of a question; 0 when it is Null or the question does
    // not exist.
    int GetQuestionCategory(int questCode);
    // True when no row of the pool of the last pick is still untaken.
    bool AllPoolQuestionsUsed() const;

private:
    enum class Pick { Shown, MovedOn, Failed };
    Pick pick();

    struct PoolRow {
        int code = 0;
        int type = 0;
        QString category;
        bool taken = false;
    };

    db::Connection& m_conn;
    QuestionList& m_msflex;
    CategoryCursor& m_categories;
    RandomSource& m_random;
    ShowQuestion m_showQuestion;
    int& m_level;
    ShowFailure m_showFailure;
    std::vector<PoolRow> m_pool; // the pool grid of the last pick
};

// A prepared pool of adaptive questions, handed out one entry at a time.
// Nothing in the program fills it.
class AdaptivePool {
public:
    struct Entry {
        int first = 0;
        int second = 0;
    };

    explicit AdaptivePool(QString appTitle) : m_appTitle(std::move(appTitle)) { }

    std::vector<Entry> gAdaptivePool;
    int gAdaptivePos = 0; // the entry handed out next

    // The entry at the position (its second value in `first`, its first
    // value in `second`): true, and the position moves on. Every entry from
    // the first to the last is handed out in turn; after the last the next
    // call gives false with the "no more questions" message and starts again
    // from the first entry. An empty pool gives false with the "chapter not
    // available" message. `message` is left alone when the result is true.
    bool GetNextPoolQuestion(int& first, int& second, QString& message);

private:
    QString m_appTitle;
};
