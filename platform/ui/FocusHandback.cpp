#include "platform/ui/FocusHandback.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

// Long enough for a window manager's own hand-over to arrive first.
constexpr int kHandbackDelayMs = 150;

class FocusHandback : public QObject {
public:
    FocusHandback() : QObject(QCoreApplication::instance()) { QCoreApplication::instance()->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if ((type != QEvent::WindowActivate && type != QEvent::Hide) || !watched->isWidgetType()
            || !static_cast<QWidget*>(watched)->isWindow())
            return false;
        auto* window = static_cast<QWidget*>(watched);
        if (type == QEvent::WindowActivate)
            m_lastActive = window;
        // By its Hide the window has already lost the keyboard: it is the
        // one that held it when no other window was made active since.
        if (type == QEvent::Hide && window == m_lastActive && window->parentWidget())
            handBackSoon(window->parentWidget()->window());
        return false;
    }

private:
    void handBackSoon(QWidget* owner)
    {
        QTimer::singleShot(kHandbackDelayMs, this, [owner = QPointer<QWidget>(owner)] {
            if (QGuiApplication::focusWindow() || !owner || !owner->isVisible())
                return;
            // A modal window still open keeps the keys.
            QWidget* modal = QApplication::activeModalWidget();
            (modal && modal->isVisible() ? modal : owner.data())->activateWindow();
        });
    }

    QPointer<QWidget> m_lastActive;
};

} // namespace

void HandFocusBackWhenWindowsClose()
{
    static FocusHandback* handback = nullptr;
    if (handback || !QCoreApplication::instance())
        return;
    handback = new FocusHandback;
}
