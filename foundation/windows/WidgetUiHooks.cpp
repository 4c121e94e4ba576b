#include "foundation/windows/WidgetUiHooks.h"

#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/ProgramEnd.h"
#include "foundation/windows/frmDbMessage.h"
#include "foundation/windows/frmMessageBox.h"

#include <QApplication>
#include <QWidget>

int WidgetUiHooks::messageBox(const QString& text, const QString& title, int style, QObject* owner)
{
    // As the program ends nobody is left to answer: the message goes to the
    // log, and the answer is the one of a message closed unanswered.
    if (programEnding()) {
        WriteLog(QStringLiteral("Not shown as the program ends: ") + text + QStringLiteral(" : ") + logDateTime());
        return style;
    }
    QWidget* parent = qobject_cast<QWidget*>(owner);
    // A message must not be hidden under an hourglass.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    frmMessageBox box(text, title, short(style), parent && parent->isVisible() ? parent : nullptr);
    box.exec();
    if (busy)
        QApplication::restoreOverrideCursor();
    return box.answer();
}

void WidgetUiHooks::htmlMessage(const QString& page)
{
    frmDbMessage window(page);
    window.exec();
}

void WidgetUiHooks::setBusy(bool busy)
{
    if (busy) {
        if (m_busyDepth++ == 0)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_busyDepth > 0) {
        if (--m_busyDepth == 0)
            QApplication::restoreOverrideCursor();
    }
}

void WidgetUiHooks::processEvents()
{
    QApplication::processEvents();
}
