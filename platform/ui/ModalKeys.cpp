#include "platform/ui/ModalKeys.h"

#include <QAction>
#include <QApplication>
#include <QShortcut>
#include <QWidget>

namespace {

// The window a shortcut's receiver acts in: a widget's own window, a
// shortcut object's parent's, an action's first widget's.
const QWidget* windowOf(const QObject* receiver)
{
    if (const auto* widget = qobject_cast<const QWidget*>(receiver))
        return widget->window();
    if (const auto* shortcut = qobject_cast<const QShortcut*>(receiver)) {
        const auto* parent = qobject_cast<const QWidget*>(shortcut->parent());
        return parent ? parent->window() : nullptr;
    }
    if (const auto* action = qobject_cast<const QAction*>(receiver)) {
        for (const QObject* object : action->associatedObjects())
            if (const auto* widget = qobject_cast<const QWidget*>(object))
                return widget->window();
        const auto* parent = qobject_cast<const QWidget*>(action->parent());
        return parent ? parent->window() : nullptr;
    }
    return nullptr;
}

class ModalBlocksShortcuts : public QObject {
public:
    explicit ModalBlocksShortcuts(QObject* parent) : QObject(parent) { }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Shortcut)
            return false;
        return shortcutIsBlocked(watched, QApplication::activeModalWidget());
    }
};

} // namespace

bool shortcutIsBlocked(const QObject* receiver, const QWidget* modal)
{
    if (!modal)
        return false;
    const QWidget* window = windowOf(receiver);
    if (!window)
        return false;
    // The modal window and what it owns (its menus, its own dialogs) keep
    // their keys.
    for (const QWidget* owner = window; owner; owner = owner->parentWidget() ? owner->parentWidget()->window() : nullptr)
        if (owner == modal)
            return false;
    return true;
}

void BlockShortcutsBehindModalWindows()
{
    static ModalBlocksShortcuts* filter = nullptr;
    if (filter || !qApp)
        return;
    filter = new ModalBlocksShortcuts(qApp);
    qApp->installEventFilter(filter);
}
