#include "platform/ui/ButtonKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace {

class EnterPressesButtons : public QObject {
public:
    explicit EnterPressesButtons(QObject* parent) : QObject(parent) { }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !pressesButton(watched, *static_cast<QKeyEvent*>(event)))
            return false;
        // The press is clicked when the key goes down, as a dialog's
        // button is; a held key clicks once.
        if (!static_cast<QKeyEvent*>(event)->isAutoRepeat())
            static_cast<QPushButton*>(watched)->click();
        return true;
    }
};

} // namespace

bool pressesButton(QObject* receiver, const QKeyEvent& key)
{
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
        return false;
    // The keypad's Enter carries the keypad flag; any other modifier is a
    // different key.
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    const auto* button = qobject_cast<const QPushButton*>(receiver);
    return button && button->isEnabled() && button->isVisible();
}

void PressFocusedButtonsWithEnter()
{
    static EnterPressesButtons* filter = nullptr;
    if (filter || !qApp)
        return;
    filter = new EnterPressesButtons(qApp);
    qApp->installEventFilter(filter);
}
