#pragma once

#include <QString>
#include <vector>

namespace db {
class Connection;
}

// The question rows of the printable question sheet: Qe_QuestionsHead with
// the texts of its category (Qe_Category) and chapter (Qe_Chapters). Works
// on the caller's connection; database errors reach the caller.
class SheetQuestions {
public:
    explicit SheetQuestions(db::Connection& exam);

    struct Row {
        int questCode = 0;
        QString text;        // Qq_Quest_Desc
        QString category;    // Qc_Cat_Desc; "" without a category row
        QString explanation; // Qq_Explanation; Null as ""
        int typeCode = 0;
        QString chapter; // Qc_Chapter_Desc; "" without a chapter row
    };
    // The questions among the codes, each once, by question code.
    std::vector<Row> rows(const std::vector<int>& questCodes);

    // The statement, for benchmarks; it binds the codes as one JSON array.
    static QString rowsSql();
    static QString codesParameter(const std::vector<int>& questCodes);

private:
    db::Connection& m_conn;
};
