#pragma once

#include "foundation/AnswerTables.h"
#include "foundation/ExamBank.h"

#include <QString>
#include <functional>
#include <vector>

namespace db {
class Connection;
}

// The answer part of a printed question: HTML rows of a two-column table
// that the caller opens and closes, each row spanning both columns. Texts
// from the question bank go in unchanged (they may carry mark-up); image
// markers are left for the caller's html_maker.
namespace answer_rows {

// "A) " to "G) ": one label per choice a question can have.
QString choiceLabel(int index);

// One row per choice in the order given, labelled in that order; right
// choices starred when showAnswers. A choice beyond the last label is listed
// without one (unlabelled counts them).
QString choiceRows(const std::vector<ExamBank::Choice>& choices, bool showAnswers, int* unlabelled = nullptr);
// The accepted answers in one row, joined by ", "; "</td></tr>" alone when
// there is none.
QString essayRows(const std::vector<QString>& answers);
// The items offered, and their right order when showAnswers; "" without rows.
QString orderedListRows(const std::vector<AnswerTables::ListRow>& rows, bool showAnswers);
// Each pair as "item ------- place"; a pair with a Null text is left out.
QString placeRows(const std::vector<AnswerTables::PlacePair>& pairs);

// A tree line: four non-breaking blanks, a bullet, one more blank, the text
// and a break; the deep line (a leaf under its node) has seven.
QString bulletLine(const QString& text);
QString deepBulletLine(const QString& text);

} // namespace answer_rows

// The answer listings of the printable question sheet: each question's
// choices, accepted answers or interactive items. A listing that meets an
// error writes it to the debug log (whatever the debug flag) and returns the
// rows built so far, so one failure costs only its own rows; no message is
// shown. With the debug flag 1 every listing writes a line when it is done.
class AnswerListings {
public:
    // Puts a question's choices (given by sequence number, then storage
    // order) into the order they are listed in; none given lists them as
    // given.
    using ChoiceArrangement =
        std::function<std::vector<ExamBank::Choice>(int questCode, const std::vector<ExamBank::Choice>& bySequence)>;

    explicit AnswerListings(db::Connection& exam, ChoiceArrangement arrange = {});

    // The answer part of any question, found by which answer table holds
    // its rows: choices first, then essay and fill-in answers, then the
    // interactive code. Accepted answers and right orders only when
    // showAnswers; a tree's right placement only when treeAnswers is 1.
    QString CheckAllAnswertableForNote(int questCode, bool showAnswers, int treeAnswers);

    QString getAllAnswersForNoteChoice(int questCode, bool showAnswers);
    QString GetaLLAnswersForNoteEssay(int questCode);
    QString GetAllAnswersForNoteInter(int questCode, bool showAnswers);
    // The nodes and leaves offered side by side, then (treeAnswers 1) each
    // node with the leaves that belong under it.
    QString GetAllAnswersForNoteInterTree(int questCode, int treeAnswers);
    QString GetAllAnswersForNoteInterSelect(int questCode);

private:
    db::Connection& m_conn;
    AnswerTables m_tables;
    ChoiceArrangement m_arrange;
};
