#pragma once

#include <QPointer>
#include <QPushButton>
#include <QString>

class QAction;

// A push button that runs an action and shows its state, as a tool button
// does with its default action, but keeps the push button's look. The
// action decides: a click runs it only when it is enabled, and the button is
// enabled as the action is. It is named as the action is, unless it has a
// caption of its own (a second button of a command, captioned as its band
// has it).
class WidgetActionButton : public QPushButton {
    Q_OBJECT
public:
    WidgetActionButton(QAction* action, QWidget* parent, const QString& caption = QString());
    QAction* defaultAction() const { return m_action.data(); }

private:
    void follow();
    QPointer<QAction> m_action;
    bool m_ownCaption = false;
};
