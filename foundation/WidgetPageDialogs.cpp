#include "foundation/WidgetPageDialogs.h"

#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "platform/browser/BrowserPage.h"

#include <QApplication>
#include <QInputDialog>

void installPageDialogs()
{
    BrowserPage::Dialogs dialogs;
    dialogs.alert = [](const QString& text) {
        ShowMessage(text, gLogin.gAppName, OneButton, QApplication::activeWindow());
    };
    dialogs.confirm = [](const QString& text) {
        return ShowMessage(text, gLogin.gAppName, OkCancel, QApplication::activeWindow()) == ResultOk;
    };
    dialogs.prompt = [](const QString& text, const QString& defaultValue, QString* result) {
        gGuard.gExamWindowActive = false;
        bool accepted = false;
        const QString answer = QInputDialog::getText(QApplication::activeWindow(), gLogin.gAppName, text,
                                                     QLineEdit::Normal, defaultValue, &accepted);
        if (accepted && result)
            *result = answer;
        return accepted;
    };
    BrowserPage::setDialogs(std::move(dialogs));
}
