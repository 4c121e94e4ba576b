#pragma once

#include <optional>

namespace db {
class Connection;
}

// Reads of a question's row of Qe_QuestionsHead that only the exam window's
// commands run. Values are bound; database errors reach the caller
// (db::DbError).
class QuestionsHeadTable {
public:
    explicit QuestionsHeadTable(db::Connection& exam);

    // The category and chapter codes of a question; a NULL code is empty.
    struct Placement {
        std::optional<int> categoryCode;
        std::optional<int> chapterCode;
    };
    // Nothing when the question is not in the bank.
    std::optional<Placement> placement(int questCode);

private:
    db::Connection& m_exam;
};
