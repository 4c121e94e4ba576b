#pragma once

#include <QString>
#include <vector>

class QuestionList;

namespace db {
class Connection;
}

// The printable question sheet of the running exam: one HTML page with
// every question of the exam, its category, chapter and code, its text, its
// answer part and, when asked for, its explanation.

// The codes of the exam's questions in list order: rows 1 onwards of the
// per-question list whose column 0 is a number other than 0.
std::vector<int> BuildQuestionCodeList(const QuestionList& list);

// The choice-order variant the exam showed a question in: the last column
// of the first list row that holds the code; 0 when no row does.
int GetChoiceOrder(const QuestionList& list, int questCode);

// The explanation's mark-up: an image marker becomes the picture of the
// exam's images folder (as a file: URL, no size); other marked text loses
// its markers; the rest is copied. An error is logged and shown, and gives "".
QString GetImages(const QString& text, const QString& examFolder);

// The setting that decides the page's head: a 0 gives the plain head, any
// other number, and a missing setting, the head that blocks the right
// mouse button, dragging and selection.
bool sheetBlocksRightClick();

struct SheetOptions {
    bool showAnswers = false;     // "Show Answer": right choices, accepted answers, right orders
    bool showExplanation = false; // "Show Explanation": the explanations and a tree's right placement
    bool blockRightClick = true;
    QString fontName;
    int fontSize = 0;   // the launch record's; the page uses 2 more, in pixels
    QString examFolder; // the folder of the exam database (its images)
    bool debugLog = false;
};

struct SheetPage {
    bool hasQuestions = false; // false: "No Questions available"
    QString html;
};

// CreateQuestReport: the page of the list's questions, in the order of the
// database's question key. Choices are listed in the order the exam showed
// them. Database errors reach the caller (db::DbError).
SheetPage CreateQuestReport(db::Connection& exam, const QuestionList& list, const SheetOptions& options);

// Where the page is written: PrintQuestions.html in the program folder.
QString questionSheetPath();
