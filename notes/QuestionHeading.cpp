#include "notes/QuestionHeading.h"

#include "platform/db/Connection.h"

bool QuestionHeading::chapterFrameShown() const
{
    return !found || !chapter.trimmed().isEmpty();
}

QuestionHeading readQuestionHeading(db::Connection& exam, int questCode)
{
    const db::ResultSet rows = exam.query(
        QStringLiteral("SELECT Qe_Category.Qc_cat_desc, Qe_Chapters.Qc_Chapter_Desc "
                       "FROM (Qe_Category INNER JOIN Qe_QuestionsHead ON Qe_Category.Qc_CatCode = "
                       "Qe_QuestionsHead.Qq_CatCode) "
                       "LEFT JOIN Qe_Chapters ON Qe_QuestionsHead.Qq_ChapterCode = Qe_Chapters.Qc_ChapterCode "
                       "WHERE Qe_QuestionsHead.Qq_QuestCode = ? LIMIT 1"),
        {questCode});
    QuestionHeading heading;
    if (rows.empty())
        return heading;
    heading.found = true;
    heading.category = rows.first().text(0);
    heading.chapter = rows.first().text(1);
    return heading;
}
