#pragma once

#include <QString>

namespace db {
class Connection;
}

// The header of the note windows: the category and chapter names of a
// question (Qe_QuestionsHead with its Qe_Category and Qe_Chapters rows).
struct QuestionHeading {
    bool found = false; // the question has a row and its category exists
    QString category;   // Qc_cat_desc; "" when not found
    QString chapter;    // Qc_Chapter_Desc; "" without a chapter row or when NULL

    // The lines framing the chapter label are hidden for an empty chapter.
    // A question not found keeps them shown, beside two empty labels.
    bool chapterFrameShown() const;
};

// Reads the heading of a question on the caller's connection. A question
// without a category row is not found; one without a chapter row is found
// with an empty chapter. Database errors reach the caller (db::DbError).
QuestionHeading readQuestionHeading(db::Connection& exam, int questCode);
