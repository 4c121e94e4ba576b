#pragma once

#include "foundation/ExamBank.h"

#include <QString>
#include <optional>
#include <vector>

namespace db {
class Connection;
}

// The reads of the printed answer listings from an exam database's answer
// tables (Qe_AnswerChoice, Qe_AnswerFill_Essay, Qe_AnswerInteractive,
// Qe_InteractiveRightAnswer) and the interactive code of Qe_QuestionsHead.
// Works on the caller's connection; database errors reach the caller
// (db::DbError). Where a listing asks for an order the rows fall back to
// storage order (rowid) among equals, so every printout of a question is
// the same. A Null text stays nullopt where the listings drop its line.
class AnswerTables {
public:
    explicit AnswerTables(db::Connection& exam);

    // Which answer rows a question has: the listings go by these, never by
    // the question's type code.
    struct AnswerKind {
        bool hasChoices = false;
        bool hasFillAnswers = false;
        int interactiveCode = 0;  // Qq_InteractiveCode when it is not 0 (or Null)
        bool hasListRows = false; // Qe_AnswerInteractive rows without a root text
        bool hasTreeRows = false; // Qe_AnswerInteractive rows with a root text
    };
    AnswerKind answerKind(int questCode);

    // The choices in storage order, whatever their sequence numbers.
    std::vector<ExamBank::Choice> choicesAsStored(int questCode);

    // Ordered-list rows (no root text) by their place in the right order.
    struct ListRow {
        QString leftItem;  // Qi_LeftPane_Item, the item offered; Null as ""
        QString rightItem; // Qi_RightPane_Item, the item at this place; Null as ""
    };
    std::vector<ListRow> orderedListRows(int questCode);

    // Every interactive row of a question by Qi_LeftPane_Seq.
    struct TreeRow {
        std::optional<int> leftSeq;
        std::optional<QString> rootText;
        std::optional<QString> leftItem;  // a node
        std::optional<QString> rightItem; // a leaf offered
    };
    std::vector<TreeRow> treeRows(int questCode);

    // The right placements of a tree: each leaf under the node whose
    // Qi_LeftPane_Seq is its nodeSeq, by node and then storage order.
    struct Leaf {
        std::optional<int> nodeSeq;
        std::optional<QString> text; // Qa_LeftText
    };
    std::vector<Leaf> treeLeaves(int questCode);

    // The pairs of a select-and-place question by Qa_LeftPane_Seq.
    struct PlacePair {
        std::optional<QString> leftText;  // Qa_LeftText
        std::optional<QString> rightText; // Qa_RightTEXT
    };
    std::vector<PlacePair> placePairs(int questCode);

    // Statement texts, for benchmarks that step them through the C API as
    // the floor of a measurement. Each binds the question code once.
    static QString answerKindSql();
    static QString choicesAsStoredSql();
    static QString orderedListRowsSql();
    static QString treeRowsSql();
    static QString treeLeavesSql();
    static QString placePairsSql();

private:
    db::Connection& m_conn;
};
