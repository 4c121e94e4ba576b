#pragma once

#include "foundation/AnswerTables.h"

#include <QString>

namespace db {
class Connection;
}

// The answer part the notes printer prints under each noted question: HTML
// rows of its two-column table (see answer_rows in foundation/AnswerListings.h).
// Choices are listed in storage order, never in an order an exam showed.
// Right choices, accepted answers and the right order of a list are shown
// only with the answers flag; trees and select-and-place pairs always show
// where each item belongs. Reads only; a database error reaches the caller
// (db::DbError). A line whose text is Null is left out of a tree or pair
// listing; a choice beyond the seventh label is listed without a label.
class NoteAnswerListings {
public:
    explicit NoteAnswerListings(db::Connection& exam);

    // The answer part of any question, found by which answer table holds its
    // rows: choices first, then essay and fill-in answers, then the
    // interactive code (1 ordered list, 2 tree, 3 select and place).
    QString CheckAllAnswerTableForNote(int questCode, bool answers);

    QString GetAllAnswersForNoteChoice(int questCode, bool answers);
    QString GetaLLAnswersForNoteEssay(int questCode);
    QString GetAllAnswersForNoteInter(int questCode, bool answers);
    // The root text, then each named node with the leaves under it.
    QString GetAllAnswersForNoteInterTree(int questCode);
    QString GetAllAnswersForNoteInterSelect(int questCode);

private:
    db::Connection& m_conn;
    AnswerTables m_tables;
};
