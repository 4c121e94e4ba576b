#include "results/QuestionSheet.h"

#include "exam/ChoiceOrder.h"
#include "exam/QuestionList.h"
#include "foundation/AnswerListings.h"
#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/ProgramFolder.h"
#include "foundation/QuestionMarkup.h"
#include "foundation/Settings.h"
#include "foundation/SharedState.h"
#include "foundation/Startup.h"
#include "results/SheetQuestions.h"

#include <QHash>
#include <QRegularExpression>

#include <exception>

namespace {

// The style that gives list items and the text after a list the page's font.
QString fontStyle(const SheetOptions& options)
{
    return QStringLiteral("Style = \"font-family: ") + htmlAttributeEscaped(options.fontName)
        + QStringLiteral("; font-size:") + QString::number(options.fontSize + 2) + QStringLiteral("px\"");
}

QString pageHead(const SheetOptions& options)
{
    // The blocking head holds no carriage return, so the page's CR pass
    // cannot break its script.
    QString head = options.blockRightClick ? blockRightClickScript() : QStringLiteral("<html><body>");
    return head + QStringLiteral("<p ") + fontStyle(options) + QLatin1Char('>');
}

const QString kTableStart = QStringLiteral(
    "<table width=100% border=1 cellpadding=5 cellspacing=0 bordercolorlight=#fbf1dd bordercolordark=#D1DFEC>");

// Every list item and the text after every list take the page's font.
QString styleLists(const QString& page, const SheetOptions& options)
{
    static const QRegularExpression listItem(QStringLiteral("<li(?=[\\s>/])"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression listEnd(QStringLiteral("</(ul|ol)\\s*>"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString style = fontStyle(options);
    QString styled = page;
    styled.replace(listItem, QStringLiteral("<LI ") + style);
    QString result;
    qsizetype from = 0;
    QRegularExpressionMatchIterator ends = listEnd.globalMatch(styled);
    while (ends.hasNext()) {
        const QRegularExpressionMatch end = ends.next();
        result += QStringView(styled).mid(from, end.capturedStart() - from);
        result += QStringLiteral("</") + end.captured(1).toUpper() + QStringLiteral("> <p ") + style + QLatin1Char('>');
        from = end.capturedEnd();
    }
    result += QStringView(styled).mid(from);
    return result;
}

} // namespace

std::vector<int> BuildQuestionCodeList(const QuestionList& list)
{
    std::vector<int> codes;
    for (int row = 1; row < list.rows(); ++row) {
        const int code = list.questionCode(row);
        if (code != 0)
            codes.push_back(code);
    }
    return codes;
}

int GetChoiceOrder(const QuestionList& list, int questCode)
{
    for (int row = 1; row < list.rows(); ++row)
        if (list.questionCode(row) == questCode)
            return list.cols() > colChoiceOrder ? list.number(row, list.cols() - 1) : 0;
    return 0;
}

QString GetImages(const QString& text, const QString& examFolder)
{
    try {
        return replaceImageMarkers(text, examFolder, [](const MarkedImage& image) {
            return QStringLiteral("<br> <img src ='") + htmlAttributeEscaped(image.url()) + QStringLiteral("'><br>");
        });
    } catch (const std::exception& error) {
        const QString description = QString::fromLocal8Bit(error.what());
        WriteLog(description + QStringLiteral(":GetImages:FrmOffLineQuestions:") + logDate());
        ShowMessage(description, gLogin.gAppName, OneButton);
        return QString();
    }
}

bool sheetBlocksRightClick()
{
    try {
        return valOf(ReadSetting(QStringLiteral("SetupInfo/GeneralSettings/BlockRightClickInPrint"))) != 0;
    } catch (const SettingError&) {
        return true;
    }
}

SheetPage CreateQuestReport(db::Connection& exam, const QuestionList& list, const SheetOptions& options)
{
    SheetPage page;
    // Questions that could not be read are no sheet without questions: the
    // error goes to the window, which logs and tells it.
    const std::vector<SheetQuestions::Row> rows = SheetQuestions(exam).rows(BuildQuestionCodeList(list));
    if (rows.empty())
        return page;
    page.hasQuestions = true;

    QHash<int, int> variants;
    for (int row = list.rows() - 1; row >= 1; --row) // the first row of a code wins
        variants.insert(list.questionCode(row), list.cols() > colChoiceOrder ? list.choiceOrder(row) : 0);
    // The choices in the order the exam window showed them.
    AnswerListings listings(exam, [&variants](int questCode, const std::vector<ExamBank::Choice>& bySequence) {
        return orderChoices(bySequence, screenChoiceOrder(variants.value(questCode, 0)));
    });
    // A tree's right placement comes with the explanations, and only while
    // the answers are shown.
    const int treeAnswers = options.showAnswers && options.showExplanation ? 1 : 0;

    // The table holds the exam's texts: it reaches the page only through the
    // sanitizer, and no link in it stays live.
    QString html = kTableStart;
    html.reserve(qsizetype(rows.size()) * 2048);
    for (const SheetQuestions::Row& row : rows) {
        html += QStringLiteral("<tr><td width=85%><b>Category:</b>") + row.category
            + QStringLiteral("<br><b>Chapter:</b>") + row.chapter + QStringLiteral(" </td> <td><b>QID:</b>     ")
            + QString::number(row.questCode) + QStringLiteral("</td></tr>");
        html += QStringLiteral("<tr><td colspan=2><b>Question:</b><br>")
            + html_maker(row.text, options.examFolder, options.debugLog) + QStringLiteral(" </td></tr> ");
        html += html_maker(listings.CheckAllAnswertableForNote(row.questCode, options.showAnswers, treeAnswers),
                           options.examFolder, options.debugLog);
        if (options.showExplanation)
            html += QStringLiteral("<tr><td colspan=2><b>Explanation:</b><br>")
                + GetImages(row.explanation, options.examFolder) + QStringLiteral(" </td></tr>");
    }
    html += QStringLiteral("</table>");

    // The page's font for lists, on the table as the page may show it.
    html = printoutTable(html, options.examFolder, qsizetype(rows.size()));
    html = pageHead(options) + styleLists(html, options) + QStringLiteral("</font></body></html><br><br>");
    page.html = html;
    if (options.debugLog)
        WriteLog(QStringLiteral("Data string Created : CreateQuestReport : frmOffLineQuestions ") + logDate());
    return page;
}

QString questionSheetPath()
{
    return programFile(QStringLiteral("PrintQuestions.html"));
}
