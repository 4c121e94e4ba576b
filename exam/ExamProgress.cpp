// Placeholder until the progress write lands.
#include "exam/ExamProgress.h"

ProgressWriteResult UpdateProgress(db::Connection&, const QuestionList&, int, int)
{
    return {};
}
