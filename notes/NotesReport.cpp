#include "notes/NotesReport.h"

#include "exam/QuestionDisplay.h"
#include "foundation/DebugLog.h"
#include "foundation/QuestionMarkup.h"
#include "foundation/UserNotesTable.h"
#include "notes/NoteAnswerListings.h"
#include "notes/NotesBrowser.h"
#include "platform/db/Connection.h"

#include <QHash>
#include <exception>

namespace notesreport {

NotesReportRequest exportRequest(const std::vector<notesbrowser::NoteRow>& rows, std::optional<int> userCode)
{
    NotesReportRequest request;
    request.userCode = userCode;
    if (!rows.empty())
        request.examPath = rows.front().path;
    request.questCodes.reserve(rows.size());
    request.noteIds.reserve(rows.size());
    for (const notesbrowser::NoteRow& row : rows) {
        request.questCodes.push_back(row.questCode);
        request.noteIds.push_back(row.noteId);
    }
    return request;
}

QString noteHtml(const QString& stored)
{
    return UserNotesTable::storedText(stored.toHtmlEscaped()).replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
}

QString GetImages(const QString& text, const QString& examFolder)
{
    try {
        return replaceImageMarkers(text, examFolder, [](const MarkedImage& image) {
            return QStringLiteral("<br> <img src ='") + htmlAttributeEscaped(image.url()) + QStringLiteral("'><br>");
        });
    } catch (const std::exception& error) {
        WriteLog(QString::fromLocal8Bit(error.what()) + QStringLiteral(":GetImages:FrmNotePrinter") + logDate());
        return QString();
    }
}

NotesPage CreateQuestReport(db::Connection& exam, const NotesReportRequest& request, bool debugLog,
                            const ReportProgress& progress)
{
    UserNotesTable notes(exam);
    const std::vector<UserNotesTable::ReportRow> rows = request.userCode
        ? notes.reportRowsOfUser(*request.userCode, request.questCodes)
        : notes.reportRowsOfNotes(request.noteIds);
    NotesPage page;
    if (rows.empty())
        return page;
    page.hasQuestions = true;

    const QString folder = examFolder(request.examPath);
    NoteAnswerListings listings(exam);
    // A question with several notes is listed once per note; its texts and
    // answers are made once.
    struct QuestionParts {
        QString heading;
        QString question;
        QString answers;
        QString explanation;
    };
    QHash<int, QuestionParts> made;

    // The exam's texts and the user's notes each reach the page through the
    // sanitizer alone, and no link in them stays live; the table frame is
    // the program's own.
    QString html = QStringLiteral(
        "<table width=\"100%\" border=\"1\" cellpadding=\"5\" cellspacing=\"0\"><tbody>");
    html.reserve(qsizetype(rows.size()) * 1024);
    const qsizetype total = qsizetype(rows.size());
    qsizetype done = 0;
    for (const UserNotesTable::ReportRow& row : rows) {
        if (progress && done % 256 == 0)
            progress(done, total);
        ++done;
        auto parts = made.constFind(row.questCode);
        if (parts == made.cend()) {
            QuestionParts part;
            part.heading = QStringLiteral("<tr><td width=\"85%\"><b>Category:</b>") + printoutPiece(row.category, folder)
                + QStringLiteral("<br><b>Chapter:</b>") + printoutPiece(row.chapter, folder)
                + QStringLiteral("</td> <td><b>QID:</b>     ") + QString::number(row.questCode)
                + QStringLiteral("</td></tr>");
            part.question = QStringLiteral("<tr><td colspan=\"2\"><b>Question:</b><br>")
                + printoutPiece(html_maker(row.questionText, folder, debugLog), folder)
                + QStringLiteral("</td></tr> ");
            part.answers = printoutRows(
                html_maker(listings.CheckAllAnswerTableForNote(row.questCode, request.answers), folder, debugLog),
                folder);
            if (request.explanation)
                part.explanation = QStringLiteral("<tr><td colspan=\"2\"><b>Explanation:</b>")
                    + printoutPiece(GetImages(row.explanation, folder), folder) + QStringLiteral("<br></td></tr>");
            parts = made.insert(row.questCode, part);
        }
        html += parts->heading + parts->question + parts->answers + parts->explanation;
        // The note is the program's own escaping of the user's text.
        html += QStringLiteral("<tr><td colspan=\"2\"><b>Note:</b><br>") + carriageReturnsToBreaks(noteHtml(row.noteText))
            + QStringLiteral(" </td></tr> ");
    }
    if (progress)
        progress(total, total);
    html += QStringLiteral("</tbody></table>");
    page.html = QStringLiteral("<html><body><font face=\"") + htmlAttributeEscaped(request.fontFace)
        + QStringLiteral("\" size=2>") + html + QStringLiteral("</font></body></html><br><br>");
    return page;
}

} // namespace notesreport
