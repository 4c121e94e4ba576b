#pragma once

#include "platform/browser/BrowserView.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPoint>
#include <QString>
#include <QVariantList>
#include <QWebEngineView>

// A left click of the user's at a point of the page, sent to the widget that
// takes the view's input (a scripted click is not the user's).
inline void userClickAt(BrowserView* view, const QPoint& at)
{
    QWidget* target = view->view()->focusProxy();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    }
}

// A click of the user's in the middle of the element a script expression
// names (for example "document.links[0]"); false when there is none.
inline bool userClickOn(BrowserView* view, const QString& element)
{
    const QVariantList box =
        view->runScript(QStringLiteral("(function () { var e = %1; if (!e) return null;"
                                       " var r = e.getBoundingClientRect(); return [r.left + r.width / 2,"
                                       " r.top + r.height / 2]; })()")
                            .arg(element))
            .toList();
    if (box.size() != 2)
        return false;
    userClickAt(view, QPoint(box[0].toInt(), box[1].toInt()));
    return true;
}
