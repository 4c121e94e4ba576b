#include "exam/windows/WidgetExamHelp.h"

#include "foundation/LinkTargets.h"
#include "foundation/windows/WidgetLinkOpener.h"
#include "platform/ui/ActivationSource.h"
#include "platform/ui/WindowControls.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

WidgetExamHelp::WidgetExamHelp(QWidget* owner) : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("Help"));
    setWindowTitle(QStringLiteral("Help"));
    setAttribute(Qt::WA_DeleteOnClose);
    markActivationNeutral(this);
    CloseOnEscape(this);
    m_text = new QTextBrowser(this);
    m_text->setObjectName(QStringLiteral("txtHelp"));
    // Links go through the program's link rules, as in every page; only a
    // jump within the help text stays here.
    m_text->setOpenLinks(false);
    m_text->setOpenExternalLinks(false);
    connect(m_text, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.isRelative() && url.path().isEmpty() && url.hasFragment()) {
            m_text->scrollToAnchor(url.fragment());
            return;
        }
        openLinkTarget(url.toString(QUrl::FullyEncoded), LinkSource::PageLink, linkOpenerInForce(),
                       QStringLiteral("anchorClicked"), this, objectName());
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    // Beside the exam rather than over its question: the right part of
    // the screen, about half its width.
    const QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        const QSize size(qMin(760, area.width() / 2), qMin(640, area.height() * 3 / 4));
        setGeometry(QRect(QPoint(area.right() - size.width() - 20, area.top() + 60), size));
    }
}

void WidgetExamHelp::showHelp(const QString& html)
{
    m_text->setHtml(html);
    show();
    raise();
    activateWindow();
}
