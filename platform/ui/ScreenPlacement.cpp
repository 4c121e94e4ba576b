#include "platform/ui/ScreenPlacement.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

QRect placedOnScreen(const QRect& frame, const QRect& available)
{
    if (!available.isValid() || !frame.isValid())
        return frame;
    QRect placed(frame.topLeft(),
                 QSize(std::min(frame.width(), available.width()), std::min(frame.height(), available.height())));
    if (placed.right() > available.right())
        placed.moveRight(available.right());
    if (placed.bottom() > available.bottom())
        placed.moveBottom(available.bottom());
    if (placed.left() < available.left())
        placed.moveLeft(available.left());
    if (placed.top() < available.top())
        placed.moveTop(available.top());
    return placed;
}

void keepWindowOnScreen(QWidget* window)
{
    if (!window || !window->isWindow() || !window->isVisible()
        || (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)))
        return;
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect frame = window->frameGeometry();
    const QRect placed = placedOnScreen(frame, screen->availableGeometry());
    if (placed == frame)
        return;
    if (placed.size() != frame.size())
        window->resize(window->size() - (frame.size() - placed.size()));
    // move() places the frame, the title bar included.
    window->move(placed.topLeft());
}

namespace {

// A window is framed and placed by the window system some time after it is
// shown, and a window may place itself before its frame is known (its title
// bar then lands above the screen): each window shown is checked at once,
// at every move and resize, and a little later, for a short while.
class OnScreenKeeper : public QObject {
public:
    OnScreenKeeper() : QObject(QCoreApplication::instance()) { QCoreApplication::instance()->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (!widget->isWindow())
            return false;
        switch (event->type()) {
        case QEvent::Show:
            if (placedByUs(widget))
                start(widget);
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowActivate:
            if (m_placing.contains(widget))
                checkSoon(widget, 0);
            break;
        case QEvent::Hide:
            m_placing.remove(widget);
            break;
        default:
            break;
        }
        return false;
    }

private:
    // Menus, tool tips and other popups are placed by Qt itself.
    static bool placedByUs(const QWidget* widget)
    {
        const Qt::WindowType type = widget->windowType();
        return type == Qt::Window || type == Qt::Dialog || type == Qt::Sheet || type == Qt::Tool;
    }

    void start(QWidget* window)
    {
        m_placing.insert(window, 0);
        for (const int delay : {0, 150, 400, 900})
            checkSoon(window, delay);
        const QPointer<QWidget> guarded(window);
        QTimer::singleShot(1500, this, [this, guarded] {
            if (guarded)
                m_placing.remove(guarded.data());
        });
    }

    // Not inside the window's own event: the check may move it.
    void checkSoon(QWidget* window, int delay)
    {
        const QPointer<QWidget> guarded(window);
        QTimer::singleShot(delay, this, [this, guarded] {
            if (guarded && m_placing.contains(guarded.data()))
                check(guarded.data());
        });
    }

    // Each window is set right a few times at most, so that a window that
    // places itself anew after every move cannot loop with this.
    void check(QWidget* window)
    {
        int& corrections = m_placing[window];
        if (corrections >= 4)
            return;
        const QRect before = window->frameGeometry();
        keepWindowOnScreen(window);
        if (window->frameGeometry() != before)
            ++corrections;
    }

    QHash<QWidget*, int> m_placing; // window -> corrections made while it is being placed
};

} // namespace

void KeepWindowsOnScreen()
{
    static OnScreenKeeper* keeper = nullptr;
    if (!keeper)
        keeper = new OnScreenKeeper;
}
