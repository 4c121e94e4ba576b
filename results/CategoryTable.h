#pragma once

#include <QString>

namespace db {
class Connection;
}

// What the result and review windows read of an exam database's categories
// (Qe_Category, and the category column of Qe_QuestionsHead). Values are
// bound; database errors reach the caller (db::DbError).
class CategoryTable {
public:
    explicit CategoryTable(db::Connection& exam);

    // The category code of a question; 0 when its code is Null or the
    // question has no row.
    int questionCategory(int questCode);
    // The description of a category; "" when it has no row (or a Null one).
    QString description(int categoryCode);

private:
    db::Connection& m_exam;
};
