#include "foundation/Messages.h"

#include "foundation/SharedState.h"
#include "foundation/UiHooks.h"

short ShowMessage(const QString& text, const QString& title, short style, QObject* owner)
{
    gMessage.gMsgText = text;
    gMessage.gMsgTitle = title;
    gMessage.gMsgResult = style;
    // The exam window must not take its own re-activation after the box for
    // an unexpected one.
    gGuard.gExamWindowActive = false;
    gMessage.gMsgResult = short(uiHooks().messageBox(text, title, style, owner));
    return gMessage.gMsgResult;
}

void ShowDbMessage(const QString& text)
{
    gMessage.gDbMessageText = text;
    uiHooks().htmlMessage(dbMessagePage(text));
}

short messageResultFor(short style, int buttonIndex)
{
    if (buttonIndex == 2 && style == SaveDiscardCancel)
        return ResultDiscard;
    if (buttonIndex != 0)
        return ResultNoOrCancel;
    return style == OkCancel ? short(ResultOk) : short(ResultYes);
}

MessageButtons messageButtonsFor(short style)
{
    switch (style) {
    case OneButton:
        return {QString(), QStringLiteral("OK"), QString()};
    case YesNo:
        return {QStringLiteral("Yes"), QStringLiteral("No"), QString()};
    case OkCancel:
        return {QStringLiteral("Ok"), QStringLiteral("Cancel"), QString()};
    case SaveDiscardCancel:
        return {QStringLiteral("Save"), QStringLiteral("Go Back"), QStringLiteral("Discard")};
    default:
        return {QStringLiteral("OK"), QStringLiteral("OK"), QString()};
    }
}

QString messageBoxLines(const QString& text)
{
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines;
}

QString blockRightClickScript()
{
    return QStringLiteral(
        "<html><HEAD> <SCRIPT> "
        "function right(e) {"
        "if (navigator.appName == 'Netscape' && (e.which == 3 || e.which == 2)) return false;"
        "else if (navigator.appName == 'Microsoft Internet Explorer' && (event.button == 2 || event.button == 3)) {"
        "alert(\"Sorry, you don't have permission to do this.\"); return false; }"
        "return true; } "
        "document.onmousedown=right; document.onmouseup=right; "
        "if (document.layers) window.captureEvents(Event.MOUSEDOWN); "
        "if (document.layers) window.captureEvents(Event.MOUSEUP); "
        "window.onmousedown=right;window.onmouseup=right;"
        "</script></HEAD> <BODY ondragstart=\"return false\" onselectstart=\"return false\">");
}

QString dbMessagePage(const QString& text)
{
    QString body = text;
    body.replace(QLatin1Char('\r'), QLatin1String("<br>"));
    return blockRightClickScript() + QStringLiteral(" <font face=Arial size=2>") + body
        + QStringLiteral("<br><br></font> </body></html>");
}
