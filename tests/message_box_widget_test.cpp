#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/windows/WidgetUiHooks.h"
#include "foundation/windows/frmMessageBox.h"
#include "tests/support/StartupFixture.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The number of text lines the label takes at its own width.
int shownLines(const QLabel& label)
{
    const int height = label.hasHeightForWidth() ? label.heightForWidth(label.width()) : label.sizeHint().height();
    const int lineSpacing = label.fontMetrics().lineSpacing();
    return (height + lineSpacing / 2) / lineSpacing;
}

TEST(MessageBoxWindow, ShowsEachLineOfTheTextOnItsOwnLine)
{
    for (const char* separator : {"\r", "\n", "\r\n"}) {
        SCOPED_TRACE(QString::fromLatin1(separator).toUtf8().toHex().toStdString());
        resetStartupState();
        const QString sep = QString::fromLatin1(separator);
        const QString text = QStringLiteral("One") + sep + QStringLiteral("Two") + sep + QStringLiteral("Three");
        frmMessageBox box(text, QStringLiteral("Title"), OneButton);
        box.show();
        QApplication::processEvents();

        EXPECT_EQ(box.lblMessage->text().split(QLatin1Char('\n')),
                  QStringList({QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")}));
        EXPECT_EQ(shownLines(*box.lblMessage), 3) << "short lines that only a break can separate";
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Title"));
        box.close();
    }
}

// Through the program's road: the discard message of the exam discovery, with
// its leading empty line, shown modally by the screen hooks.
TEST(MessageBoxWindow, ShowMessageOpensTheBoxWithTheLinesBroken)
{
    resetStartupState();
    WidgetUiHooks hooks;
    installUiHooks(&hooks);
    const QString text =
        QStringLiteral("\r\nDuplicate Exam Code found.\rFollowing Exam(s) will be discarded \rdup.qzr");
    QStringList shown;
    int lines = 0;
    QTimer::singleShot(0, [&] {
        frmMessageBox* box = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* candidate = qobject_cast<frmMessageBox*>(widget); candidate && candidate->isVisible())
                box = candidate;
        if (!box) {
            ADD_FAILURE() << "no message box is showing";
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            return;
        }
        shown = box->lblMessage->text().split(QLatin1Char('\n'));
        lines = shownLines(*box->lblMessage);
        box->lblCaption[1]->click();
    });
    const short result = ShowMessage(text, QStringLiteral("Ziduver Test"), OneButton);
    installUiHooks(nullptr);

    EXPECT_EQ(result, ResultNoOrCancel);
    EXPECT_EQ(shown,
              QStringList({QString(), QStringLiteral("Duplicate Exam Code found."),
                           QStringLiteral("Following Exam(s) will be discarded "), QStringLiteral("dup.qzr")}));
    EXPECT_GE(lines, 4); // the leading empty line included
    EXPECT_EQ(gMessage.gMsgText, text);
}

} // namespace
