#pragma once

#include "exam/CategoryMap.h"
#include "exam/QuestionList.h"
#include "exam/QuestionSetBuilder.h"
#include "foundation/ExamMode.h"
#include "foundation/ExamParameters.h"
#include "platform/db/Connection.h"
#include "platform/db/ResultSet.h"

#include <QString>
#include <array>
#include <optional>

class RandomSource;

// The state of one running exam, owned by the exam window from its load to
// its unload: the per-question list, the category of each question, the
// window's connection and category rows, and the variables the window's
// procedures and the windows it opens share.
class ExamSession {
public:
    ExamSession();

    // The start values of a load for the mode.
    void startValues(ExamMode mode);

    // Opens the window's own connection to the exam database.
    void openExamConnection(const QString& connectionString);
    void closeExamConnection();
    // Reads the mode's category rows into CategoryRs; returns their number.
    int openCategoryRows(ExamMode mode);

    // Builds the question set for the mode on ExamConn. On success the launch
    // record's gQuizQuestionCount becomes the number drawn, so the counter,
    // navigation and the progress write cover exactly the questions drawn.
    // On failure the list stays empty, ExamAborted is set and the result
    // carries the message to show; the exam must not start.
    QuestionSetResult buildQuestionSet(ExamMode mode, int userCode, int wanted, RandomSource& random);

    // The number of questions drawn: the exam runs over these, whatever
    // count the launch record asked for.
    int questionCount() const { return msflex.questionCount(); }

    // The launch record the window was started from, and its mode read once.
    ExamParameters launch;
    ExamMode mode = ExamMode::Other;

    // The question on screen and the review state, read by the windows the
    // exam window opens (help, notes, review list).
    int gQuestCode = 0;       // question code of the question on screen
    int gQuestType = 0;       // its type: 1 multiple choice, 2 essay, 3 fill in, 4 interactive
    int gInteractiveCode = 0; // type 4: 1 ordered list, 2 tree, other select and place
    bool gReviewGoto = false; // the user picked a question in the review list
    int gReviewLastIndex = 0; // question number at which review mode was entered
    QString gAlertAction;     // practice alert panel: "" or "NEXTQUESTION"
    QString gUserAnswer;      // the answer of the question on screen, as checked
    QString gRightAnswer;     // the right-answer text for display

    // The per-question list and the category of each question.
    QuestionList msflex;
    CategoryMap cboCategory;

    // Read and written by other windows.
    bool ExamPassed = false;  // passed early under "ADAPTIVE"; the review list then closes the exam
    int ReviewQuestionNo = 0; // question number chosen in the review list; 0 is taken as 1
    int QuestionsReached = 1; // rows 1 to this count as seen
    int CurrentQuestion = 1;  // the list row on screen, 1-based
    int ExamScore = 0;        // points of the questions answered right so far

    // The window's own.
    double ClockSeconds = 0.0;
    int ClockMinutes = 0;
    bool SkipActivateGuard = true; // the next activation skips the guard once
    bool EndDeclined = false;      // the user declined to end the exam
    bool ExamAborted = false;      // the load drew no question set (an end is the run's)
    bool TimeOver = false;         // the simulated exam's count-down reached zero
    db::Connection ExamConn;
    std::optional<int> bankQuestionCount; // the bank's questions, read with the question set
    db::ResultSet CategoryRs;
    QString PageAnswer; // the answer text last reported by the page
    // The row whose right answer was shown on this visit (0: none): its
    // verdict stands until another question is shown.
    int AnswerShownRow = 0;
    int AdaptiveLevel = 1;
    std::array<QString, 8> ChoiceLetters;
};
