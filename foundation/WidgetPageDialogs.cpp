#include "foundation/WidgetPageDialogs.h"

#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "platform/browser/BrowserPage.h"

#include <QApplication>
#include <QInputDialog>

void installPageDialogs()
{
    BrowserPage::Dialogs dialogs;
    dialogs.alert = [](const QString& text) { ShowMessage(text, gAppName, OneButton, QApplication::activeWindow()); };
    dialogs.confirm = [](const QString& text) {
        return ShowMessage(text, gAppName, OkCancel, QApplication::activeWindow()) == ResultOk;
    };
    dialogs.prompt = [](const QString& text, const QString& defaultValue, QString* result) {
        gExamWindowActive = false;
        bool accepted = false;
        const QString answer = QInputDialog::getText(QApplication::activeWindow(), gAppName, text, QLineEdit::Normal,
                                                     defaultValue, &accepted);
        if (accepted && result)
            *result = answer;
        return accepted;
    };
    BrowserPage::setDialogs(std::move(dialogs));
}
