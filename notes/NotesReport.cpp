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

NotesPage CreateQuestReport(db::Connection& exam, const NotesReportRequest& request, bool debugLog)
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
    // A question with several notes is listed once per note; its answers
    // are read once.
    QHash<int, QString> answerParts;

    // The table holds the exam's texts and the user's notes: it reaches the
    // page only through the sanitizer, and no link in it stays live.
    QString html = QStringLiteral("<table width=100% border=1 cellpadding=5 cellspacing=0 "
                                  "bordercolorlight=#fbf1dd bordercolordark=#D1DFEC>");
    html.reserve(qsizetype(rows.size()) * 1024);
    for (const UserNotesTable::ReportRow& row : rows) {
        html += QStringLiteral("<tr><td width=85%><b>Category:</b>") + row.category
            + QStringLiteral("<br><b>Chapter:</b>") + row.chapter + QStringLiteral("</td> <td><b>QID:</b>     ")
            + QString::number(row.questCode) + QStringLiteral("</td></tr>");
        html += QStringLiteral("<tr><td colspan=2><b>Question:</b><br>")
            + html_maker(row.questionText, folder, debugLog) + QStringLiteral("</td></tr> ");
        auto answers = answerParts.constFind(row.questCode);
        if (answers == answerParts.cend())
            answers = answerParts.insert(
                row.questCode,
                html_maker(listings.CheckAllAnswerTableForNote(row.questCode, request.answers), folder, debugLog));
        html += *answers;
        if (request.explanation)
            html += QStringLiteral("<tr><td colspan=2><b>Explanation:</b>") + GetImages(row.explanation, folder)
                + QStringLiteral("<br></td></tr>");
        html += QStringLiteral("<tr><td colspan=2><b>Note:</b><br>") + noteHtml(row.noteText)
            + QStringLiteral(" </td></tr> ");
    }
    html += QStringLiteral("</table>");
    html = printoutTable(html, folder, qsizetype(rows.size()));
    page.html = QStringLiteral("<html><body><font face=\"") + htmlAttributeEscaped(request.fontFace)
        + QStringLiteral("\" size=2>") + html + QStringLiteral("</font></body></html><br><br>");
    return page;
}

} // namespace notesreport
