#include "exam/AnswerPages.h"

#include "foundation/TextRules.h"

#include "exam/ChoiceOrder.h"
#include "exam/PageLock.h"
#include "exam/VerdictNote.h"
#include "foundation/QuestionMarkup.h"
#include "platform/pages/HtmlSanitizer.h"

#include <QFileInfo>

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace {

const char* const kChoiceLabels[] = {"", "A", "B", "C", "D", "E", "F", "G"};
constexpr int kMaxChoiceRows = 7;

// Text placed in an attribute or as element content.
QString esc(const QString& text)
{
    return htmlAttributeEscaped(text);
}

// A textarea drops one line feed right after its start tag: give it one to
// drop so a text that starts with a line break keeps it.
QString textareaContent(const QString& text)
{
    const QString escaped = text.toHtmlEscaped();
    return text.startsWith(QLatin1Char('\n')) || text.startsWith(QLatin1Char('\r')) ? QStringLiteral("\n") + escaped
                                                                                    : escaped;
}

// A list item as the page's parser will leave it, so the text the page
// reports back is the text written here.
QString itemHtml(const QString& text)
{
    return htmlAttributeEscaped(pageFormText(text));
}

QString joinedItems(const QString& joined, const QString& item)
{
    return joined.isEmpty() ? item : joined + QLatin1Char(',') + item;
}

} // namespace

QString PageStyle::styleAttribute() const
{
    return QStringLiteral("Style = \"font-family: ") + esc(fontName) + QStringLiteral("; font-size:")
        + QString::number(fontPx) + QStringLiteral("px\"");
}

PageStyle pageStyleOf(const PageInputs& inputs)
{
    PageStyle style;
    style.fontName = inputs.fontName;
    style.fontPx = inputs.fontSize + 2;
    style.examFolder = inputs.examDbPath.isEmpty() ? QString() : QFileInfo(inputs.examDbPath).absolutePath();
    return style;
}

QString TrimTrailingControlChars(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].unicode() < 33)
        --end;
    return text.left(end);
}

QString ConvertLineBreaks(const QString& text)
{
    static const QString open = QStringLiteral("<PRE>");
    static const QString close = QStringLiteral("</PRE>");
    const auto breaks = [](QString part) { return part.replace(QLatin1String("\r\n"), QLatin1String("<BR>")); };
    QString output;
    qsizetype p = 0;
    while (p < text.size()) {
        const qsizetype start = text.indexOf(open, p);
        if (start < 0) {
            output += breaks(text.mid(p));
            break;
        }
        output += breaks(text.mid(p, start - p));
        const qsizetype closing = text.indexOf(close, start + open.size());
        const qsizetype end = closing < 0 ? text.size() : closing + close.size();
        output += text.mid(start, end - start);
        p = end;
    }
    return output;
}

QString StyleListTags(const QString& html, const PageStyle& style)
{
    const QString attribute = style.styleAttribute();
    QString text = html;
    text.replace(QLatin1String("<LI"), QStringLiteral("<LI ") + attribute);
    text.replace(QLatin1String("</UL>"), QStringLiteral("</UL> <p ") + attribute + QLatin1Char('>'));
    text.replace(QLatin1String("</OL>"), QStringLiteral("</OL> <p ") + attribute + QLatin1Char('>'));
    return text;
}

QString markUpPageText(const QString& text, const PageStyle& style, const QString& imagePrefix)
{
    QString html = replaceImageMarkers(TrimTrailingControlChars(text), style.examFolder, [&](const MarkedImage& image) {
        return imagePrefix + imageElement(image) + QStringLiteral("<br>");
    });
    html = ConvertLineBreaks(html);
    html.replace(QLatin1String("</LI><BR><BR>"), QLatin1String("</LI>"));
    html.replace(QLatin1String("<BR><BR><LI"), QLatin1String("<LI"));
    if (html.right(4).toUpper() != QLatin1String("<BR>"))
        html += QStringLiteral("<br>");
    // The text is the exam's: it reaches the page only through the sanitizer.
    SanitizeRules rules;
    rules.examFolder = style.examFolder;
    return html_sanitizer::fragment(StyleListTags(html, style), rules);
}

QString FormatChoiceText(const QString& text, const PageStyle& style)
{
    try {
        return markUpPageText(text, style, QStringLiteral(" "));
    } catch (const std::exception&) {
        return QString();
    }
}

QString GetRightAnswerText(int kind, const std::vector<ExamBank::Choice>& choices, const ExamBank::QuestionHead& head)
{
    QString text;
    if (kind == 0) {
        for (const ExamBank::Choice& choice : choices)
            if (choice.right)
                text += QString::number(choice.seq) + QStringLiteral(", ");
    } else if (kind == 1) {
        text = head.modelAnswer;
    }
    return text;
}

bool HasMultipleRightAnswers(const std::vector<ExamBank::Choice>& listed)
{
    return std::count_if(listed.begin(), listed.end(), [](const ExamBank::Choice& c) { return c.right; }) >= 2;
}

bool answerListsChoice(const QString& answer, int seq)
{
    // Only fields that a comma ends count: "1,3" lists 1, not 3.
    const QStringList fields = answer.split(QLatin1Char(','));
    const QString number = QString::number(seq);
    for (qsizetype i = 0; i + 1 < fields.size(); ++i)
        if (fields[i].trimmed() == number)
            return true;
    return false;
}

QString BuildChoicesHtml(AnswerContext& context)
{
    const std::vector<ExamBank::Choice> choices = context.bank.choices(context.inputs.questCode);
    context.rightAnswer = GetRightAnswerText(0, choices, context.inputs.head);
    const std::vector<ExamBank::Choice> listed = orderChoices(choices, screenChoiceOrder(context.inputs.choiceOrder));
    if (listed.empty())
        return QString();
    context.pageAnswer.clear();
    const bool several = HasMultipleRightAnswers(listed);
    QString html;
    int row = 0;
    for (const ExamBank::Choice& choice : listed)
        html += BuildChoiceRowHtml(context, choice, several, ++row);
    return html;
}

QString BuildChoiceRowHtml(AnswerContext& context, const ExamBank::Choice& choice, bool several, int row)
{
    if (row < 1 || row > kMaxChoiceRows)
        throw std::runtime_error("A multiple-choice question lists more than seven choices.");
    const PageInputs& in = context.inputs;
    const bool users = answerListsChoice(in.recordedAnswer, choice.seq);
    const bool right = answerListsChoice(context.rightAnswer, choice.seq);
    bool ticked = false;
    bool red = false;
    bool recorded = false;
    // Review shows the right choices marked; option buttons can show one
    // tick only, so there the tick goes to the right choice and the user's
    // other choice keeps its red text.
    const bool marked = in.reviewMode && in.showAnswer && right;
    if (!in.reviewMode) {
        ticked = recorded = in.showAnswer ? right : users;
    } else if (users) {
        red = recorded = true;
        ticked = several || !in.showAnswer || right;
    } else if (in.showAnswer && right) {
        ticked = true;
    }
    const QString s = QString::number(choice.seq);
    if (recorded)
        context.pageAnswer += s + QStringLiteral(", ");

    QString html = QLatin1String(kChoiceLabels[row]);
    html += marked ? QStringLiteral("<table style=\"background-color: #d9f2d9; border-left: 4px solid #2e7d32\">"
                                    "<tr><td valign=\"top\">")
                   : QStringLiteral("<table><tr><td valign=\"top\">");
    html += several ? QStringLiteral("<input type=\"checkbox\" name=\"menu\" value=")
                    : QStringLiteral("<input type=\"radio\" name=\"menu\" value=");
    html += s;
    html += ticked ? QStringLiteral(" onClick=\"do1();\" checked>") : QStringLiteral(" onClick=\"do1();\">");
    html += QStringLiteral("</td>");
    html += red ? QStringLiteral("<td> <FONT COLOR=red>") : QStringLiteral("<td>");
    html += FormatChoiceText(choice.text, context.style);
    html += red ? QStringLiteral("</font></td></tr></table>") : QStringLiteral("</td></tr></table>");
    return html;
}

QString BuildEssayHtml(AnswerContext& context)
{
    // A question never answered holds a single blank in the list: the box
    // starts empty, so the essay recorded is what the user typed.
    QString text = context.inputs.recordedAnswer.trimmed().isEmpty() ? QString() : context.inputs.recordedAnswer;
    if (context.inputs.showAnswer) {
        context.rightAnswer = GetRightAnswerText(1, {}, context.inputs.head);
        text = context.rightAnswer;
    }
    return QStringLiteral("<form name=\"myForm\"><textarea cols = 100 rows=15 name=\"ta\" onMouseUp = \"SaveText()\" "
                          "onKeyUp = \"SaveText()\" onBlur=\"SaveText()\">")
        + textareaContent(text) + QStringLiteral("</textarea> <script> document.myForm.ta.focus();</script></form>");
}

QString BuildFillInHtml(AnswerContext& context)
{
    static const QString handlers =
        QStringLiteral("onMouseUp = \"SaveFillText()\" onKeyUp = \"SaveFillText()\" onBlur=\"SaveFillText()\"");
    const QStringList recorded = splitFields(context.inputs.recordedAnswer, QLatin1Char('|'));
    QString html = QStringLiteral("<br><br><form name=\"myForm\">");
    const std::vector<QString> rows = context.bank.fillAnswers(context.inputs.questCode);
    if (context.inputs.showAnswer && !rows.empty())
        context.pageAnswer.clear();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (context.inputs.showAnswer) {
            // The first accepted text of each blank, as the page reports the
            // boxes: each followed by "|".
            const QString first = rows[i].section(QLatin1Char('|'), 0, 0);
            context.rightAnswer = first;
            context.pageAnswer += first + QLatin1Char('|');
            html += QStringLiteral("<input type=text name = txtFill width=100 value= '") + esc(first)
                + QStringLiteral("' ") + handlers + QStringLiteral("><br>");
            continue;
        }
        html += QStringLiteral("<input type=text name = txtFill width=100 ") + handlers + QStringLiteral(" value=");
        if (qsizetype(i) >= recorded.size())
            html += QStringLiteral("''><br>");
        else if (!trimBlanks(recorded[qsizetype(i)]).isEmpty())
            html += QLatin1Char('\'') + esc(recorded[qsizetype(i)]) + QStringLiteral("'><br>");
        else
            html += QStringLiteral("\"\"><br>");
    }
    return html
        + QStringLiteral("<script> if (document.myForm.txtFill) {if (document.myForm.txtFill.length > 0) "
                         "{document.myForm.txtFill[0].focus();} else{document.myForm.txtFill.focus();}} "
                         "</script></form>");
}

namespace {

// The list pages lay out their lists and buttons in one row of a table of
// fixed layout (class "Lists"): the buttons' cell has its own width, the
// lists share the rest of the page width equally, whatever their items'
// length, so nothing moves while items go from list to list. Each cell
// keeps its lists and buttons at the top.
const QString kListCell = QStringLiteral("<td valign=\"top\">");
const QString kButtonCell = QStringLiteral("<td valign=\"top\" class=\"Buttons\">");
QString listOpening(const char* name)
{
    return QStringLiteral("<select size=\"20\" name=\"%1\" class=\"Sbutton\">").arg(QLatin1String(name));
}
const QString kListPageForm =
    QStringLiteral("<br><br><form method=\"POST\" name=\"myForm\"><table class=\"Lists\" border=\"0\" "
                   "cellpadding=\"2\" cellspacing =\"2\"><tr>");
// Both list pages move the items from the offered list on the left into the
// answer list on its right.
const QString kAddRemoveButtons = kButtonCell
    + QStringLiteral("  <input type=\"button\" value=\" Add  >>  \" name=\"B1\" OnClick=\"%1\">&nbsp;<br><br> "
                     "<input type=\"button\" value=\"  Remove \" name=\"B2\" OnClick=\"Remove();\"></td>");

} // namespace

QString BuildSelectPlaceHtml(AnswerContext& context)
{
    const PageInputs& in = context.inputs;
    const QStringList recorded = splitFields(in.recordedAnswer, QLatin1Char(','));
    const std::vector<ExamBank::InteractiveItem> items = context.bank.interactiveItems(in.questCode);
    // The items offered, the buttons, the answer list and, beside it, the
    // places the answer follows.
    QString html = kListPageForm + kListCell + listOpening("D1");
    if (items.empty())
        return html + QStringLiteral("</select></td></tr></table></form>");
    int n = 0;
    for (const ExamBank::InteractiveItem& item : items)
        html += QStringLiteral("<option value=v%1>").arg(n++) + itemHtml(item.leftItem) + QStringLiteral("</option>");
    html += QStringLiteral("</select></td>");

    QString answer = kListCell + listOpening("D3");
    if (in.showAnswer) {
        const std::vector<ExamBank::InteractiveAnswer> answers = context.bank.interactiveAnswers(in.questCode);
        if (!answers.empty()) {
            context.pageAnswer.clear();
            n = 0;
            for (const ExamBank::InteractiveAnswer& right : answers) {
                if (right.rightText.isEmpty())
                    continue;
                answer += QStringLiteral("<option value=vvv%1>").arg(n++) + itemHtml(right.rightText)
                    + QStringLiteral("</option>");
                context.pageAnswer = joinedItems(context.pageAnswer, right.rightText);
            }
        }
    } else {
        for (qsizetype k = 0; k < recorded.size(); ++k)
            if (!trimBlanks(recorded[k]).isEmpty())
                answer +=
                    QStringLiteral("<option value=vvv%1>").arg(k) + itemHtml(recorded[k]) + QStringLiteral("</option>");
    }
    answer += QStringLiteral("</select></td>");

    QString places = kListCell + listOpening("D2");
    for (const ExamBank::InteractiveItem& item : items)
        places += QStringLiteral("<option value=vv%1>").arg(n++) + itemHtml(item.rightItem) + QStringLiteral("</option>");
    places += QStringLiteral("</select></td>");
    return html + kAddRemoveButtons.arg(QStringLiteral("Add();")) + answer + places
        + QStringLiteral("</tr></table></form>");
}

QString BuildOrderedListHtml(AnswerContext& context)
{
    const PageInputs& in = context.inputs;
    const QStringList recorded = splitFields(in.recordedAnswer, QLatin1Char(','));
    const std::vector<ExamBank::InteractiveItem> items = context.bank.interactiveItems(in.questCode);
    QString html = kListPageForm + kListCell + listOpening("D2");
    int n = 0;
    for (const ExamBank::InteractiveItem& item : items)
        html += QStringLiteral("<option value=v%1>").arg(n++) + itemHtml(item.leftItem) + QStringLiteral("</option>");
    html += QStringLiteral("</select></td>");
    // Add and Remove, then Up and Down, all between the two lists.
    html += kButtonCell
        + QStringLiteral("  <input type=\"button\" value=\" Add  >>  \" name=\"B1\" "
                         "OnClick=\"Add1();\">&nbsp;<br><br> <input type=\"button\" value=\"  Remove \" "
                         "name=\"B2\" OnClick=\"Remove();\"><br><br><br><br><input type=\"button\" value=\"    "
                         "Up   \" name=\"B1\" OnClick=\"MoveUp();\">&nbsp;<br><br><input type=\"button\" "
                         "value=\"  Down \" name=\"B2\" OnClick=\"MoveDown();\"></td>");
    html += kListCell + listOpening("D3");
    if (in.showAnswer) {
        if (!items.empty())
            context.pageAnswer.clear();
        n = 0;
        for (const ExamBank::InteractiveItem& item : items) {
            // As the answer check reads the key: a blank item is no part of it.
            if (blankOnPage(item.rightItem))
                continue;
            html += QStringLiteral("<option value=vvv%1>").arg(n++) + itemHtml(item.rightItem) + QStringLiteral("</option>");
            context.pageAnswer = joinedItems(context.pageAnswer, item.rightItem);
        }
    } else {
        for (qsizetype k = 0; k < recorded.size(); ++k)
            if (!trimBlanks(recorded[k]).isEmpty())
                html += QStringLiteral("<option value=vvv%1>").arg(k) + itemHtml(recorded[k]) + QStringLiteral("</option>");
    }
    html += QStringLiteral("</select></td>");
    return html + QStringLiteral("</tr></table></form>");
}

TreePages BuildTreeHtml(AnswerContext& context, const QString& questionText)
{
    const PageInputs& in = context.inputs;
    const PageStyle& style = context.style;
    const QString body = QStringLiteral("<body ") + style.styleAttribute() + QLatin1Char('>');

    // The leaves offered, the buttons, and the tree that new.js draws in the
    // cell "TreeCell" beside them: all three side by side, so the buttons
    // stay in view while the user picks in both lists. The two lists share
    // the frame's width beside the buttons' cell, whatever their items'
    // length, and keep it while leaves move; a long item wraps. Their height
    // is set too: a list's own height follows its tallest item.
    QString left = QStringLiteral("<html><head><style type=\"text/css\"> table.Tree { table-layout: fixed; width: "
                                  "100%; } table.Tree td.Buttons { width: 7em; } table.Tree select { width: 100%; "
                                  "height: 15em; box-sizing: border-box; } table.Tree option { white-space: normal; "
                                  "overflow-wrap: anywhere; } </style></head><script Language=\"javascript\" "
                                  "src=\"new.js\"></script>")
        + body;
    left += QStringLiteral("<form><br><Table class=\"Tree\" cellpadding=4 cellspacing=0 border=\"0\"><tr>"
                           "<td valign=\"top\"><select valign=\"Center\" size=\"10\" name=\"D1\" class=\"f\">");

    const std::vector<ExamBank::InteractiveItem> items = context.bank.interactiveItems(in.questCode);
    QString root;
    if (!items.empty()) {
        root = items.front().rootText;
        int n = 0;
        for (const ExamBank::InteractiveItem& item : items)
            if (!item.rightItem.isEmpty())
                left +=
                    QStringLiteral("<option value=v%1>").arg(++n) + itemHtml(item.rightItem) + QStringLiteral("</option>");
    }

    // The starting tree: the answer recorded, else the nodes (with their
    // right leaves when the answer is shown).
    QString state;
    if (!trimBlanks(in.recordedAnswer).isEmpty() && !in.showAnswer) {
        state = in.recordedAnswer;
    } else {
        std::vector<ExamBank::InteractiveAnswer> answers;
        if (in.showAnswer)
            answers = context.bank.interactiveAnswers(in.questCode);
        bool first = true;
        for (const ExamBank::InteractiveItem& item : items) {
            if (item.leftItem.isEmpty())
                continue;
            if (!first)
                state += QLatin1Char(',');
            first = false;
            state += item.leftItem;
            for (const ExamBank::InteractiveAnswer& answer : answers)
                if (answer.nodeSeq == item.leftSeq)
                    state += QLatin1Char('#') + answer.leftText;
        }
    }

    const QString fontCss = QStringLiteral("\"<style type=text/css>\r\n<!--\r\n.f {\r\nfont-family: ")
        + esc(style.fontName) + QStringLiteral(";\r\nfont-size: ") + QString::number(style.fontPx)
        + QStringLiteral("px;\r\n}\r\n-->\r\n</style>\"");
    QString question = questionText;
    question.replace(QLatin1Char('"'), QLatin1Char('\''));

    left += QStringLiteral("</select></td><td valign=\"top\" class=\"Buttons\"><br><input type=\"button\" "
                           "value=\" Move     \" "
                           "name=\"B1\"  onClick=\"MoveNodes()\" >&nbsp;<br><br><input type=\"button\" "
                           "value=\"Remove\" name=\"B2\" onClick=\"RemoveNodes()\"></td><td valign=\"top\" "
                           "id=\"TreeCell\"></td>   </tr>");
    left += QStringLiteral("<input type=\"hidden\" name=\"hidRowVal2\" value=\"") + itemHtml(state) + QStringLiteral("\">");
    left += QStringLiteral("<input type=\"hidden\" name=\"Question\" value=\"") + esc(question) + QStringLiteral("\">");
    left += QStringLiteral("<input type=\"hidden\" name=\"qFont\" value=") + fontCss + QLatin1Char('>');
    left += QStringLiteral("<input type=\"hidden\" name=\"hidRowVal3\" value=\"") + esc(root) + QStringLiteral("\" > ");
    if (in.reviewMode)
        left += pageLockElement();
    left += QStringLiteral("</form> </body> </html>");

    TreePages pages;
    pages.leftHtm = left;
    const QString note = in.verdictKept ? verdictKeptHtml(style.styleAttribute()) : QString();
    pages.questionHtm = QStringLiteral("<html>") + body + note + questionText + QStringLiteral("</body></html>");
    return pages;
}
