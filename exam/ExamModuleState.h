#pragma once

#include <QString>

// The running exam's state shared with the exam window's dialogs and with
// the result, review and note windows. The activation guard
// gExamWindowActive lives with the shared state.
inline int gQuestCode = 0;          // question code of the question on screen
inline int gQuestType = 0;          // its type: 1 multiple choice, 2 essay, 3 fill in, 4 interactive
inline int gInteractiveCode = 0;    // type 4: 1 ordered list, 2 tree, other select and place
inline bool gReviewMode = false;    // answers are no longer checked; right answers are shown
inline bool gReviewGoto = false;    // the user picked a question in the review list
inline int gReviewLastIndex = 0;    // question number at which review mode was entered
inline QString gAlertAction;        // practice alert panel: "" or "NEXTQUESTION"
inline QString gUserAnswer;         // the answer of the question on screen, as checked
inline QString gRightAnswer;        // the right-answer text for display
