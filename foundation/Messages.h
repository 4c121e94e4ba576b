#pragma once

#include <QString>

class QObject;

// The last message box's text, title and result (after it closes, the
// answer), and the last HTML message's text.
struct MessageState {
    QString gMsgText;
    QString gMsgTitle;
    short gMsgResult = 0;
    QString gDbMessageText;
};
inline MessageState gMessage;

// SaveDiscardCancel: "Save" answers Yes, "Discard" Discard, "Go Back" (and
// a box closed without a button) No or Cancel.
enum MessageStyle : short { OneButton = 1, YesNo = 2, OkCancel = 3, SaveDiscardCancel = 4 };
enum MessageResult : short { ResultYes = 100, ResultOk = -1, ResultNoOrCancel = -2, ResultDiscard = -3 };

// Shows the program's modal message box and leaves the answer in gMsgResult
// (also returned).
short ShowMessage(const QString& text, const QString& title, short style, QObject* owner = nullptr);
// Shows the text as an HTML page in the modal HTML message window.
void ShowDbMessage(const QString& text);

// The result of a button of the message box: index 0 is the left button,
// index 1 the right one, index 2 the middle one.
short messageResultFor(short style, int buttonIndex);
// The captions of the buttons for a style; an empty left or middle caption
// means that button is hidden.
struct MessageButtons {
    QString left;
    QString right;
    QString middle;
};
MessageButtons messageButtonsFor(short style);

// The text of the message box as its label shows it: a carriage return, a
// line feed and the pair of them each break the line once (as "\n").
QString messageBoxLines(const QString& text);

// The page of the HTML message window for a text: a head that blocks the
// right mouse button, the text with carriage returns as line breaks.
QString dbMessagePage(const QString& text);
// The script head shared by generated pages that block the right mouse button.
QString blockRightClickScript();
