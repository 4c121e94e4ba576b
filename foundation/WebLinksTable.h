#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace db {
class Connection;
}

// The web links of an exam database (Qe_UserLinks) and the exam's comment
// text (Qe_Exam), as the main window's menu reads them. Rows come in the
// order they were stored. Values are bound; database errors reach the caller
// (db::DbError).
class WebLinksTable {
public:
    explicit WebLinksTable(db::Connection& exam);

    struct Link {
        int serialNumber = 0; // Ql_SerNo
        QString caption;      // Ql_linkCaption, NULL read ""
    };
    // The links whose Ql_UserCode is the parent: 0 gives the first level,
    // a first-level serial number that link's second-level list.
    std::vector<Link> links(int parent);
    // Whether any link has the parent.
    bool hasLinks(int parent);
    // The target of a link, NULL read ""; nullopt when there is no such link.
    std::optional<QString> linkPath(int serialNumber);

    // Qe_ExamComment of the first exam row, NULL read ""; nullopt without an
    // exam row.
    std::optional<QString> examComment();

private:
    db::Connection& m_exam;
};
