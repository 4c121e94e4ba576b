#include "platform/ui/WindowControls.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace {

// Watches the keys of the whole program for the ones that reach the
// window: a page in a browser view takes the keys before the window sees
// them, and hands Esc back to no one.
class EscapeCloser : public QObject {
public:
    explicit EscapeCloser(QWidget* window) : QObject(window), m_window(window)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType() || !m_window)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
            return false;
        if (static_cast<QWidget*>(watched)->window() != m_window || !m_window->isVisible())
            return false;
        if (auto* dialog = qobject_cast<QDialog*>(m_window.data()))
            dialog->reject();
        else
            m_window->close();
        return true;
    }

private:
    QPointer<QWidget> m_window;
};

} // namespace

void DisableCloseMenu(QWidget* window)
{
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::CustomizeWindowHint, true);
    window->setWindowFlag(Qt::WindowCloseButtonHint, false);
    if (visible)
        window->show();
}

void CloseOnEscape(QWidget* window)
{
    new EscapeCloser(window);
}
