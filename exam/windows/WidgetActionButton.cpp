#include "exam/windows/WidgetActionButton.h"

#include <QAction>

WidgetActionButton::WidgetActionButton(QAction* action, QWidget* parent) : QPushButton(parent), m_action(action)
{
    connect(this, &QPushButton::clicked, action, [this] {
        if (m_action && m_action->isEnabled())
            m_action->trigger();
    });
    connect(action, &QAction::changed, this, &WidgetActionButton::follow);
    follow();
}

void WidgetActionButton::follow()
{
    if (!m_action)
        return;
    setText(m_action->text());
    setEnabled(m_action->isEnabled());
}
