#pragma once

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

// Runs `action` on the dialog of type Window once it is the active modal
// window (above `below`, when given), looking every 10 ms up to `tries`
// times. A dialog that never shows fails the test, and whatever modal window
// is open then is closed so the test ends.
template <typename Window>
void whenShown(std::function<void(Window&)> action, QWidget* below = nullptr, int tries = 300)
{
    auto* timer = new QTimer;
    auto* waited = new int(0);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, action, below, tries] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (window && window != below && window->isVisible()) {
            timer->stop();
            timer->deleteLater();
            delete waited;
            action(*window);
            return;
        }
        if (++*waited > tries) {
            timer->stop();
            timer->deleteLater();
            delete waited;
            ADD_FAILURE() << "the dialog did not show: " << Window::staticMetaObject.className();
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                modal->reject();
        }
    });
    timer->start(10);
}

// A left-button double click at `at` (widget coordinates), sent as press,
// release, double click and release.
inline void doubleClickAt(QWidget* widget, const QPoint& at)
{
    const QPointF point(at);
    const QPointF global = widget->mapToGlobal(point);
    QMouseEvent press(QEvent::MouseButtonPress, point, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, point, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, point, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
    QApplication::sendEvent(widget, &dbl);
    QApplication::sendEvent(widget, &release);
}
