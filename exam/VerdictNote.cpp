#include "exam/VerdictNote.h"

bool keepsEarlierVerdict(int answerShownRow, int currentRow, bool reviewMode)
{
    return !reviewMode && currentRow >= 1 && answerShownRow == currentRow;
}

QString verdictKeptText()
{
    return QStringLiteral("The answer was shown: this question keeps its earlier verdict.");
}

QString verdictKeptHtml(const QString& styleAttribute)
{
    // A span shown as a block: a div would end the paragraph the page text
    // stands in.
    return QStringLiteral("<span id=\"VerdictKept\" role=\"status\" ") + styleAttribute
        + QStringLiteral(" ><span style=\"display: block; margin: 4px 0 8px; padding: 3px 8px; color: #7a4a00; "
                         "background-color: #fff4d6; border-left: 4px solid #d89a00\">")
        + verdictKeptText() + QStringLiteral("</span></span>");
}
