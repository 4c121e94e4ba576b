#include "exam/HelpTexts.h"

#include "exam/AnswerPages.h"
#include "exam/QuestionDisplay.h"
#include "foundation/QuestionMarkup.h"
#include "foundation/Settings.h"
#include "foundation/TextRules.h"
#include "foundation/WholeFile.h"
#include "platform/pages/HtmlSanitizer.h"
#include "platform/pages/PageAddress.h"

#include <QDir>
#include <QFile>
#include <QUrl>

namespace {

const char* const kInstructionRoot = "SetupInfo/ExamEngineSettings/QuestionTypeInstructions/";

QString instructionKey(const char* name)
{
    return QLatin1String(kInstructionRoot) + QLatin1String(name);
}

// The head of the page up to the font family of its paragraph.
const QString kPlainHead = QStringLiteral("<html><HEAD> </HEAD> <body topmargin=0><p Style = \"font-family: ");
const QString kBlockingHead = QStringLiteral(
    "<html><HEAD> <SCRIPT> function right(e) { if (navigator.appName == 'Netscape' && (e.which == 3 || e.which == "
    "2)) return false; else if (navigator.appName == 'Microsoft Internet Explorer' && (event.button == 2 || "
    "event.button == 3)) { alert(\"Sorry, you don't have permission to do this.\"); return false; } return true; } "
    "document.onmousedown=right; document.onmouseup=right; if (document.layers) "
    "window.captureEvents(Event.MOUSEDOWN); if (document.layers) "
    "window.captureEvents(Event.MOUSEUP);window.onmousedown=right;window.onmouseup=right;</script></HEAD> <body "
    "ondragstart=\"return false\" onselectstart=\"return false\" topmargin=0><p Style = \"font-family: ");

// The program folder as a page address ending in "/", safe inside an attribute
// value in either kind of quotes.
QString programFolderUrl(const QString& programFolder)
{
    const QString folder = QDir(programFolder).absolutePath();
    const QString withSlash = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return htmlAttributeEscaped(page_address::forFile(withSlash).toString(QUrl::FullyEncoded));
}

} // namespace

QuestionInstruction questionInstruction(int questType, int interactiveCode)
{
    switch (questType) {
    case 1:
        return {InstructionBox::Multiple, instructionKey("MultipleChoice")};
    case 2:
        return {InstructionBox::Essay, instructionKey("Essay")};
    case 3:
        return {InstructionBox::FillInBlank, instructionKey("FillInTheBlank")};
    default:
        break;
    }
    switch (interactiveCode) {
    case 1:
        return {InstructionBox::Interactive, instructionKey("OrderedList")};
    case 2:
        return {InstructionBox::Interactive, instructionKey("Tree")};
    default:
        return {InstructionBox::Interactive, instructionKey("SelectAndPlace")};
    }
}

QString readInstructionText(const QString& settingKey)
{
    try {
        return ReadSetting(settingKey);
    } catch (const SettingError&) {
        return QString();
    }
}

QString KeepLettersOnly(const QString& text)
{
    QString kept;
    for (const QChar c : text) {
        const QChar upper = c.toUpper();
        const bool letter = upper >= QLatin1Char('A') && upper <= QLatin1Char('Z');
        if (letter || c == QLatin1Char(' ') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            kept += c;
    }
    kept.replace(QLatin1String("  "), QLatin1String(" "));
    return kept;
}

QString BuildExplanationHtml(const ExplanationInputs& inputs)
{
    PageStyle style;
    style.fontName = inputs.fontName;
    style.fontPx = inputs.fontSize + 2;
    style.examFolder = inputs.examDbPath.isEmpty() ? QString() : examFolder(inputs.examDbPath);

    QString text = inputs.explanation;
    if (trimBlanks(text).isEmpty())
        text = QStringLiteral("No explanation given");
    QString html = replaceImageMarkers(text, style.examFolder, [](const MarkedImage& image) {
        return QStringLiteral("<br> ") + imageElement(image) + QStringLiteral("<br>");
    });
    // Only the marker changes: "and/or", "1/2" and "<br/>" stay as written.
    html.replace(QLatin1String("[localpath]"), programFolderUrl(inputs.programFolder));
    html = StyleListTags(html, style);
    html.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
    html.replace(QLatin1Char('\r'), QLatin1String("<br>"));
    SanitizeRules rules;
    rules.examFolder = style.examFolder;
    html = html_sanitizer::fragment(html, rules);

    return (inputs.blockRightClick ? kBlockingHead : kPlainHead) + htmlAttributeEscaped(style.fontName)
        + QStringLiteral("; font-size:") + QString::number(style.fontPx) + QStringLiteral("px\">") + trimBlanks(html)
        + QStringLiteral("</p></body></html>");
}

QString explanationRewritePage(const QString& explanationHtml)
{
    return QStringLiteral("<html><body>") + explanationHtml + QStringLiteral("</body></html>");
}

QString explanationFilePath(const QString& programFolder)
{
    return QDir(programFolder).filePath(QStringLiteral("explanation.html"));
}

bool writeExplanationFile(const QString& programFolder, const QString& html, QString* problem)
{
    const QString path = explanationFilePath(programFolder);
    const QString why = writeWholeFile(path, QByteArray("\xEF\xBB\xBF") + html.toUtf8());
    if (why.isEmpty())
        return true;
    if (problem)
        *problem = fileWriteProblemText(QStringLiteral("The explanation's page file could not be saved."), path, why);
    return false;
}
