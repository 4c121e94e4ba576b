#pragma once

#include <QPointer>
#include <QPushButton>

class QAction;

// A push button that runs an action and shows its state, as a tool button
// does with its default action, but keeps the push button's look. The
// action decides: a click runs it only when it is enabled, and the button is
// enabled and named as the action is.
class WidgetActionButton : public QPushButton {
    Q_OBJECT
public:
    WidgetActionButton(QAction* action, QWidget* parent);
    QAction* defaultAction() const { return m_action.data(); }

private:
    void follow();
    QPointer<QAction> m_action;
};
