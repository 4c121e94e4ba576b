#include "exam/QuestionPage.h"

#include "foundation/TextRules.h"

#include "exam/AnswerPages.h"
#include "exam/PageLock.h"
#include "exam/VerdictNote.h"
#include "foundation/QuestionMarkup.h"
#include "foundation/WholeFile.h"
#include "platform/pages/PageAddress.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QUrl>

namespace {

enum QuestionType { MultipleChoice = 1, Essay = 2, FillIn = 3, Interactive = 4 };
enum InteractiveCode { OrderedList = 1, Tree = 2, SelectAndPlace = 3 };

const QString kKeyHandler = QStringLiteral("onKeypress=\"test()\"");

// Blocks the right and middle mouse buttons.
const QString kRightClickBlocker = QStringLiteral(
    " function right(e) {   if (navigator.appName == 'Netscape' && (e.which == 3 || e.which == 2)) return false; "
    "else if (navigator.appName == 'Microsoft Internet Explorer' && (event.button == 2 || event.button == 3)) "
    "{alert(\"Sorry, you don't have permission to do this.\"); return false;}return true;}"
    "document.onmousedown=right; document.onmouseup=right; "
    "if (document.layers) window.captureEvents(Event.MOUSEDOWN); if (document.layers) "
    "window.captureEvents(Event.MOUSEUP);window.onmousedown=right;window.onmouseup=right;");

// Every cell takes the page's font. A cell of the exam's text that has its
// own style (written by the sanitizer as style="...") keeps it: a second
// style attribute would be ignored, so both go in one, the page's font last.
QString styleCells(const QString& text, const PageStyle& style)
{
    static const QRegularExpression ownStyle(QStringLiteral("<td Style = \"([^\"]*)\"([^>]*?) style=\"([^\"]*)\""));
    QString styled = text;
    styled.replace(QLatin1String("<td"), QStringLiteral("<td ") + style.styleAttribute());
    QString result;
    qsizetype from = 0;
    QRegularExpressionMatchIterator cells = ownStyle.globalMatch(styled);
    while (cells.hasNext()) {
        const QRegularExpressionMatch cell = cells.next();
        QString own = cell.captured(3).trimmed();
        if (!own.isEmpty() && !own.endsWith(QLatin1Char(';')))
            own += QLatin1Char(';');
        result += QStringView(styled).mid(from, cell.capturedStart() - from);
        result += QStringLiteral("<td Style = \"") + own + (own.isEmpty() ? QString() : QStringLiteral(" "))
            + cell.captured(1) + QLatin1Char('"') + cell.captured(2);
        from = cell.capturedEnd();
    }
    result += QStringView(styled).mid(from);
    return result;
}

// The list pages' classes: the lists in the page font, sharing the page
// width beside the buttons' cell (never wider than the page, however long
// their items), each item wrapped onto as many lines as it needs; the
// lists of one height, about twenty lines (a list's own height follows its
// tallest item); the buttons between them of one width.
QString listPageStyle(const PageStyle& style)
{
    return QStringLiteral("<style type=\"text/css\"> <!-- .Sbutton {  font-family:") + style.fontName
        + QStringLiteral("; font-size: ") + QString::number(style.fontPx)
        + QStringLiteral(
               "px; width: 100%; height: 24em; box-sizing: border-box; } .Sbutton option { white-space: normal; "
               "overflow-wrap: anywhere; } table.Lists { table-layout: fixed; width: 100%; } "
               "td.Buttons { width: 8em; } form input[type=button] { min-width: 7em; } .Stext {  "
               "font-family: Geneva, Arial, Helvetica, san-serif; font-size: xx-small; color: #5E5446} "
               "--> </style>");
}

// The page's base is the exam folder, so the script is named by its full
// page address.
QString scriptUrl(const QString& programFolder)
{
    const QString path = QDir(programFolder).absoluteFilePath(QStringLiteral("interactive.js"));
    return htmlAttributeEscaped(page_address::forFile(path).toString(QUrl::FullyEncoded));
}

QString pageHead(const PageInputs& in, const PageStyle& style, const QString& styleBlock, const QString& keyHandler)
{
    const QString paragraph = QStringLiteral("<p ") + style.styleAttribute() + QLatin1Char('>');
    // The body carries the page's font too: a block of the question text
    // (a <pre>) ends the paragraph, and what follows it, the choice letters
    // among it, keeps the page's font.
    const QString body = QStringLiteral("<body ") + style.styleAttribute() + QLatin1Char(' ');
    const QString src =
        QStringLiteral("<html><HEAD> <script language=\"javascript\" src=\"") + scriptUrl(in.programFolder);
    if (in.blockRightClick)
        return src + QStringLiteral("\";></script><script>") + kRightClickBlocker + QStringLiteral("</script></HEAD> ")
            + styleBlock + body + keyHandler
            + QStringLiteral("  ondragstart=\"return false\" onselectstart=\" return false\" topmargin=0>") + paragraph;
    return src + QStringLiteral("\" > </script></HEAD> ") + styleBlock + body + keyHandler
        + QStringLiteral(" topmargin=0>") + paragraph;
}

bool writeWithBom(const QString& path, const QString& content, QString* problem)
{
    const QString why = writeWholeFile(path, QByteArray("\xEF\xBB\xBF") + content.toUtf8());
    if (why.isEmpty())
        return true;
    if (problem)
        *problem = fileWriteProblemText(QStringLiteral("The question could not be shown."), path, why);
    return false;
}

} // namespace

BuiltPage buildQuestionPage(ExamBank& bank, const PageInputs& inputs)
{
    AnswerContext context{bank, inputs, pageStyleOf(inputs), QString(), QString()};
    context.pageAnswer = inputs.recordedAnswer;
    const PageStyle& style = context.style;

    QString text = markUpPageText(inputs.head.text, style, QStringLiteral("<br> "));
    QString styleBlock;
    QString keyHandler;
    BuiltPage page;
    switch (inputs.head.type) {
    case MultipleChoice:
        keyHandler = kKeyHandler;
        text += QStringLiteral("<br><br>") + BuildChoicesHtml(context);
        break;
    case Essay:
        context.pageAnswer.clear();
        text += QStringLiteral("<br><br>") + BuildEssayHtml(context);
        break;
    case FillIn:
        text += BuildFillInHtml(context);
        break;
    case Interactive:
        switch (inputs.head.interactiveCode) {
        case OrderedList:
        case SelectAndPlace:
            styleBlock = listPageStyle(style);
            keyHandler = kKeyHandler;
            text += QStringLiteral("<br><br>")
                + (inputs.head.interactiveCode == OrderedList ? BuildOrderedListHtml(context)
                                                              : BuildSelectPlaceHtml(context));
            break;
        case Tree: {
            const TreePages tree = BuildTreeHtml(context, text);
            page.treePage = true;
            page.leftHtm = tree.leftHtm;
            page.questionHtm = tree.questionHtm;
            page.pageAnswer = context.pageAnswer;
            page.rightAnswer = context.rightAnswer;
            return page;
        }
        default:
            break;
        }
        break;
    default:
        break;
    }
    if (inputs.verdictKept)
        text.prepend(verdictKeptHtml(style.styleAttribute()));
    text = styleCells(text, style);
    // Review records nothing: the page takes no input.
    if (inputs.reviewMode)
        text += pageLockElement();

    page.html =
        pageHead(inputs, style, styleBlock, keyHandler) + trimBlanks(text) + QStringLiteral("</p></body></html>");
    page.pageAnswer = context.pageAnswer;
    page.rightAnswer = context.rightAnswer;
    return page;
}

bool writeTreePages(const QString& programFolder, const BuiltPage& page, QString* problem)
{
    const QDir folder(programFolder);
    return writeWithBom(folder.filePath(QStringLiteral("left.htm")), page.leftHtm, problem)
        && writeWithBom(folder.filePath(QStringLiteral("Question.htm")), page.questionHtm, problem);
}
