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

bool owns(const QWidget* owner, const QWidget* window)
{
    for (const QWidget* w = window; w; w = w->parentWidget() ? w->parentWidget()->window() : nullptr)
        if (w == owner)
            return true;
    return false;
}

class ModalBlocksShortcuts : public QObject {
public:
    explicit ModalBlocksShortcuts(QObject* parent) : QObject(parent) { }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Shortcut)
            return false;
        const QWidget* window = windowOf(watched);
        return window && shortcutIsBlocked(watched, modalWindowOver(window));
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

const QWidget* modalWindowOver(const QWidget* window)
{
    for (const QWidget* candidate : QApplication::topLevelWidgets()) {
        if (!candidate->isVisible() || candidate->windowModality() == Qt::NonModal || owns(candidate, window))
            continue;
        if (candidate->windowModality() == Qt::ApplicationModal || owns(window, candidate))
            return candidate;
    }
    return nullptr;
}

void BlockShortcutsBehindModalWindows()
{
    static ModalBlocksShortcuts* filter = nullptr;
    if (filter || !qApp)
        return;
    filter = new ModalBlocksShortcuts(qApp);
    qApp->installEventFilter(filter);
}
