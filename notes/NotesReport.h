#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace db {
class Connection;
}

namespace notesbrowser {
struct NoteRow;
}

namespace notesreport {

// The notes printer's page: for each note the browser listed, its
// question's category, chapter and code, the question, its answers, the
// explanation when asked for, and the note itself.

// What the printer prints: the notes the browser shows, in the exam it
// shows them from.
struct NotesReportRequest {
    QString examPath;            // the exam database of the listed notes
    std::optional<int> userCode; // the user whose notes are listed; nullopt: every user's
    std::vector<int> questCodes; // the question of each listed note (once per note)
    std::vector<qint64> noteIds; // the listed notes; these are printed for every user
    bool answers = false;        // mark the right answers ("Correct Answer(s)" not unticked)
    bool explanation = false;    // print explanations ("Explanation" ticked)
    QString fontFace;            // the page's font
};

// The request for the rows the browser lists; the user as the browser's
// query has it (nullopt for every user).
NotesReportRequest exportRequest(const std::vector<notesbrowser::NoteRow>& rows, std::optional<int> userCode);

struct NotesPage {
    bool hasQuestions = false; // false: "No Questions available"
    QString html;
};

// A note as the page shows it: HTML-escaped, each line break (CR LF, or a
// bare CR or LF) a "<br>".
QString noteHtml(const QString& stored);

// The explanation's mark-up: an image marker becomes the picture of the
// images folder of the exam folder given (a file: URL, no size); other
// marked text loses its markers. An error is logged and gives "".
QString GetImages(const QString& text, const QString& examFolder);

// CreateQuestReport: the page of the request's notes (by Qn_NoteID) on the
// caller's connection to the request's exam. Database errors reach the
// caller (db::DbError). debugLog: the debug flag is 1.
// progress, when given, hears how many of the notes are laid out so far
// (now and then, and once at the end).
using ReportProgress = std::function<void(qsizetype done, qsizetype total)>;
NotesPage CreateQuestReport(db::Connection& exam, const NotesReportRequest& request, bool debugLog,
                            const ReportProgress& progress = {});

} // namespace notesreport
