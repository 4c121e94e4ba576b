#include "mainwindow/windows/WidgetDrawnMenu.h"

#include "foundation/SharedState.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QShortcut>
#include <algorithm>
#include <exception>

namespace {

constexpr int kIconRoom = 22;
constexpr int kListMinWidth = 170;
constexpr int kListMaxWidth = 420;

QColor colourOr(const QString& setting, const QColor& fallback)
{
    if (const std::optional<MenuRgb> rgb = parseMenuColour(setting))
        return QColor(rgb->red, rgb->green, rgb->blue);
    return fallback;
}

const QString kLinksUnread = QStringLiteral("The web links could not be read.");

} // namespace

// ---- the menu ----

WidgetDrawnMenu* WidgetDrawnMenu::attach(QWidget* stripParent, const QPoint& topLeft, DrawnMenuSetup setup)
{
    auto* menu = new WidgetDrawnMenu(stripParent, std::move(setup));
    menu->move(topLeft);
    menu->show();
    return menu;
}

WidgetDrawnMenu::WidgetDrawnMenu(QWidget* stripParent, DrawnMenuSetup setup)
    : QWidget(stripParent), m_host(stripParent->window()), m_setup(std::move(setup))
{
    setObjectName(QStringLiteral("DrawnMenu"));
    setFocusPolicy(Qt::TabFocus);
    if (!m_setup.look.fontFace.trimmed().isEmpty()) {
        QFont face = font();
        face.setFamily(m_setup.look.fontFace.trimmed());
        setFont(face);
    }
    m_foreColour = colourOr(m_setup.look.foreColor, palette().color(QPalette::WindowText));
    m_selectedColour = colourOr(m_setup.look.foreColorSelected, palette().color(QPalette::Highlight));
    m_picture = m_setup.pullDownPicture;
    m_arrow = m_setup.rowIcon;

    for (int i = 0; i < kPullDownCount; ++i) {
        auto* picture =
            new WidgetMenuPicture(QString::fromLatin1(kTopCaptions[size_t(i)]), QLatin1Char(kTopKeys[size_t(i)]), this);
        picture->setObjectName(QStringLiteral("image5_%1").arg(i));
        picture->setColours(m_foreColour, m_selectedColour);
        picture->onHover = [this, i] {
            m_keyTop = i;
            ShowSubMenu(i);
        };
        picture->installEventFilter(this);
        image5[size_t(i)] = picture;
    }
    layOutStrip();
    installEventFilter(this);

    // The keys of a menu bar, wherever the focus is in the window.
    for (int i = 0; i < kPullDownCount; ++i) {
        auto* key = new QShortcut(QKeySequence(Qt::ALT | Qt::Key(kTopKeys[size_t(i)])), this);
        key->setContext(Qt::WindowShortcut);
        connect(key, &QShortcut::activated, this, [this, i] { openFromKeyboard(i); });
    }
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    f10->setContext(Qt::WindowShortcut);
    connect(f10, &QShortcut::activated, this, [this] {
        if (m_open >= 0)
            hideMenu();
        else
            openFromKeyboard(0);
    });

    Picture1 = new WidgetMenuList(m_picture, m_host);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFont(font());
    Picture1->hide();
    Picture1->installEventFilter(this);
    Picture2 = new WidgetMenuList(m_picture, m_host);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setFont(font());
    Picture2->hide();
    Picture2->installEventFilter(this);

    m_closeTimer.setSingleShot(true);
    m_closeTimer.setInterval(kCloseDelayMs);
    connect(&m_closeTimer, &QTimer::timeout, this, &WidgetDrawnMenu::closeIfPointerLeft);
}

WidgetDrawnMenu::~WidgetDrawnMenu()
{
    setWatching(false);
}

QWidget* WidgetDrawnMenu::owner() const
{
    return m_host ? m_host->window() : nullptr;
}

void WidgetDrawnMenu::layOutStrip()
{
    int x = 0;
    for (WidgetMenuPicture* picture : image5) {
        const QSize size = picture->sizeHint();
        picture->setGeometry(x, 0, size.width(), kMenuRowHeight);
        x += size.width();
    }
    setFixedSize(x, kMenuRowHeight);
}

WidgetMenuRow* WidgetDrawnMenu::makeRow(int index, WidgetMenuList* list, std::vector<WidgetMenuRow*>& rows, bool main)
{
    while (int(rows.size()) <= index) {
        const int i = int(rows.size());
        auto* row = new WidgetMenuRow(i, list);
        row->setObjectName((main ? QStringLiteral("lblMenu_%1") : QStringLiteral("lblSubMenu_%1")).arg(i));
        row->setColours(m_foreColour, m_selectedColour);
        row->hide();
        if (main) {
            row->onHover = [this](int r) { lblMenu_MouseMove(r); };
            row->onClick = [this](int r) { lblMenu_Click(r); };
            auto* icon = new QLabel(list);
            icon->setObjectName(QStringLiteral("imgSubmenu_%1").arg(i));
            // A click on the icon is a click on its row.
            icon->setAttribute(Qt::WA_TransparentForMouseEvents);
            icon->setAlignment(Qt::AlignCenter);
            if (!m_arrow.isNull())
                icon->setPixmap(m_arrow.scaled(12, 12, Qt::KeepAspectRatio, Qt::SmoothTransformation));
            else
                icon->setText(QStringLiteral("\u25B8"));
            icon->hide();
            imgSubmenu.push_back(icon);
        } else {
            row->onHover = [this](int r) { lblSubMenu_MouseMove(r); };
            row->onClick = [this](int r) { lblSubMenu_Click(r); };
        }
        rows.push_back(row);
    }
    return rows[size_t(index)];
}

int WidgetDrawnMenu::listWidth(const QStringList& captions, int iconRoom) const
{
    const QFontMetrics metrics(font());
    int widest = 0;
    for (const QString& caption : captions)
        widest = std::max(widest, metrics.horizontalAdvance(caption));
    return std::clamp(widest + WidgetMenuRow::kTextIndent + iconRoom + 18, kListMinWidth, kListMaxWidth);
}

void WidgetDrawnMenu::ShowSubMenu(int pullDown)
{
    if (pullDown == m_open || pullDown < 0 || pullDown >= kPullDownCount || !m_host || m_opening)
        return;
    hideSubList();
    // Every row starts hidden and enabled; the row set gives each its state.
    for (size_t i = 0; i < lblMenu.size(); ++i) {
        lblMenu[i]->setEnabled(true);
        lblMenu[i]->setHovered(false);
        lblMenu[i]->hide();
        imgSubmenu[i]->hide();
    }

    std::vector<WebLinkRow> links;
    if (pullDown == 3 && m_setup.inputs.hasWebLinks) {
        try {
            links = FillWebLinksMenu(gLogin.gExamConnStr);
            if (links.empty())
                m_setup.inputs.hasWebLinks = false;
        } catch (const std::exception& error) {
            // The pull-down still opens with its commands; the links stay
            // offered, so the next opening reads them again.
            const QPointer<WidgetDrawnMenu> alive(this);
            m_opening = true;
            reportCommandError(kLinksUnread, error, owner());
            if (!alive)
                return;
            m_opening = false;
            if (!m_host)
                return;
        }
    }
    m_rows = pullDownRows(pullDown, m_setup.inputs, links);

    QStringList captions;
    bool anyIcon = false;
    for (const MenuRow& row : m_rows) {
        captions << row.caption;
        anyIcon = anyIcon || row.iconVisible;
    }
    const int width = listWidth(captions, anyIcon ? kIconRoom : 0);
    for (size_t i = 0; i < m_rows.size(); ++i) {
        WidgetMenuRow* label = makeRow(int(i), Picture1, lblMenu, true);
        label->setText(m_rows[i].caption);
        label->setEnabled(m_rows[i].enabled);
        label->setIconRoom(m_rows[i].iconVisible ? kIconRoom : 0);
        label->setGeometry(0, int(i) * kMenuRowHeight, width, kMenuRowHeight);
        label->show();
        QLabel* icon = imgSubmenu[i];
        icon->setGeometry(width - kIconRoom, int(i) * kMenuRowHeight, kIconRoom - 4, kMenuRowHeight);
        icon->setVisible(m_rows[i].iconVisible);
        icon->raise();
    }

    const QWidget* picture = image5[size_t(pullDown)];
    const QPoint origin = picture->mapTo(m_host.data(), QPoint(0, picture->height()));
    Picture1->setGeometry(origin.x(), origin.y(), width, menuListHeight(int(m_rows.size())));
    for (int i = 0; i < kPullDownCount; ++i)
        image5[size_t(i)]->setChosen(i == pullDown);
    m_open = pullDown;
    m_keyTop = pullDown;
    Picture1->show();
    Picture1->raise();
    Picture1->update();
    setWatching(true);
}

void WidgetDrawnMenu::openFromKeyboard(int pullDown)
{
    if (pullDown < 0 || pullDown >= kPullDownCount)
        return;
    if (pullDown != m_open)
        ShowSubMenu(pullDown);
    if (m_open != pullDown)
        return;
    hideSubList();
    const bool rowChosen = m_lastRow >= 0 && m_lastRow < int(m_rows.size()) && lblMenu[size_t(m_lastRow)]->hovered();
    if (!rowChosen)
        moveRow(1);
}

void WidgetDrawnMenu::hideSubList()
{
    Picture2->hide();
    for (WidgetMenuRow* row : lblSubMenu)
        row->setHovered(false);
    m_subRows.clear();
    m_subListRow = -1;
    m_inSubList = false;
}

void WidgetDrawnMenu::hideMenu()
{
    m_closeTimer.stop();
    hideSubList();
    Picture1->hide();
    for (WidgetMenuRow* row : lblMenu)
        row->setHovered(false);
    for (WidgetMenuPicture* picture : image5)
        picture->setChosen(hasFocus() && picture == image5[size_t(m_keyTop)]);
    m_open = -1;
    setWatching(false);
}

void WidgetDrawnMenu::lblMenu_MouseMove(int row)
{
    if (m_open < 0 || row < 0 || row >= int(m_rows.size()))
        return;
    if (row != m_lastRow)
        hideSubList();
    if (m_lastRow >= 0 && m_lastRow < int(lblMenu.size()))
        lblMenu[size_t(m_lastRow)]->setHovered(false);
    lblMenu[size_t(row)]->setHovered(true);
    m_lastRow = row;
}

void WidgetDrawnMenu::lblSubMenu_MouseMove(int row)
{
    if (row < 0 || row >= int(m_subRows.size()))
        return;
    if (m_lastSubRow >= 0 && m_lastSubRow < int(lblSubMenu.size()))
        lblSubMenu[size_t(m_lastSubRow)]->setHovered(false);
    lblSubMenu[size_t(row)]->setHovered(true);
    m_lastSubRow = row;
}

void WidgetDrawnMenu::showSubList(int row, int parent)
{
    std::vector<WebLinkRow> rows;
    try {
        rows = ShowWebLinksSubMenu(gLogin.gExamConnStr, parent);
    } catch (const std::exception& error) {
        hideMenu();
        reportCommandError(kLinksUnread, error, owner());
        return;
    }
    hideSubList();
    if (rows.empty())
        return;
    m_subRows = rows;
    QStringList captions;
    for (const WebLinkRow& link : m_subRows)
        captions << link.caption;
    const int width = listWidth(captions, 0);
    for (WidgetMenuRow* label : lblSubMenu)
        label->hide();
    for (size_t i = 0; i < m_subRows.size(); ++i) {
        WidgetMenuRow* label = makeRow(int(i), Picture2, lblSubMenu, false);
        label->setText(m_subRows[i].caption);
        label->setGeometry(0, int(i) * kMenuRowHeight, width, kMenuRowHeight);
        label->show();
    }
    // Level with the clicked row, beside the pull-down (on its left when the
    // window has no room on its right).
    int left = Picture1->geometry().right() - 1;
    if (m_host && left + width > m_host->width())
        left = std::max(0, Picture1->x() - width + 1);
    Picture2->setGeometry(left, Picture1->y() + lblMenu[size_t(row)]->y(), width,
                          menuListHeight(int(m_subRows.size())));
    m_subListRow = row;
    Picture2->show();
    Picture2->raise();
    Picture2->update();
}

// ---- closing and the keyboard ----

MenuPointer WidgetDrawnMenu::pointer() const
{
    return pointerAt(QCursor::pos());
}

MenuPointer WidgetDrawnMenu::pointerAt(const QPoint& global) const
{
    auto over = [&global](const QWidget* part) {
        return part->isVisible() && part->rect().contains(part->mapFromGlobal(global));
    };
    return {over(this), over(Picture1), over(Picture2)};
}

void WidgetDrawnMenu::closeIfPointerLeft()
{
    if (m_open >= 0 && menuShouldClose(pointer()))
        hideMenu();
}

void WidgetDrawnMenu::setWatching(bool watching)
{
    if (watching == m_watching || !qApp)
        return;
    m_watching = watching;
    if (watching)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool WidgetDrawnMenu::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Leave
        && (watched == this || watched == Picture1 || watched == Picture2
            || std::find(image5.begin(), image5.end(), watched) != image5.end())) {
        if (m_open >= 0)
            m_closeTimer.start();
        return false;
    }
    if (!m_watching || m_open < 0)
        return false;
    QWidget* widget = watched->isWidgetType() ? static_cast<QWidget*>(watched) : nullptr;
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // By where it is: a press the rows leave to their parents reaches
        // the window too.
        if (menuShouldClose(pointerAt(static_cast<QMouseEvent*>(event)->globalPosition().toPoint())))
            hideMenu();
        break;
    case QEvent::KeyPress:
        if (widget && owner() && widget->window() == owner())
            return menuKey(static_cast<QKeyEvent*>(event)->key());
        break;
    case QEvent::WindowDeactivate:
    case QEvent::Hide:
        if (widget && widget == owner())
            hideMenu();
        break;
    case QEvent::Show:
        // A modal window opening over the menu.
        if (widget && widget->isWindow() && widget != owner() && widget->isModal())
            hideMenu();
        break;
    default:
        break;
    }
    return false;
}

void WidgetDrawnMenu::moveRow(int step)
{
    if (m_inSubList) {
        const int count = int(m_subRows.size());
        if (count == 0)
            return;
        const int next = ((m_lastSubRow + step) % count + count) % count;
        lblSubMenu_MouseMove(next);
        return;
    }
    const int count = int(m_rows.size());
    const bool current = m_lastRow >= 0 && m_lastRow < count && lblMenu[size_t(m_lastRow)]->hovered();
    int next = current ? m_lastRow : (step > 0 ? -1 : count);
    for (int tries = 0; tries < count; ++tries) {
        next = ((next + step) % count + count) % count;
        if (m_rows[size_t(next)].enabled) {
            lblMenu_MouseMove(next);
            return;
        }
    }
}

void WidgetDrawnMenu::chooseTop(int index)
{
    m_keyTop = (index % kPullDownCount + kPullDownCount) % kPullDownCount;
    for (int i = 0; i < kPullDownCount; ++i)
        image5[size_t(i)]->setChosen(i == m_keyTop);
}

bool WidgetDrawnMenu::menuKey(int key)
{
    switch (key) {
    case Qt::Key_Escape:
        if (m_inSubList || Picture2->isVisible()) {
            hideSubList();
        } else {
            hideMenu();
            chooseTop(m_keyTop);
        }
        return true;
    case Qt::Key_Down:
        moveRow(1);
        return true;
    case Qt::Key_Up:
        moveRow(-1);
        return true;
    case Qt::Key_Right:
        if (!m_inSubList && m_lastRow >= 0 && m_lastRow < int(m_rows.size()) && lblMenu[size_t(m_lastRow)]->hovered()
            && m_rows[size_t(m_lastRow)].iconVisible) {
            lblMenu_Click(m_lastRow);
            if (Picture2->isVisible()) {
                m_inSubList = true;
                lblSubMenu_MouseMove(0);
            }
            return true;
        }
        if (m_inSubList)
            return true;
        ShowSubMenu((m_open + 1) % kPullDownCount);
        moveRow(1);
        return true;
    case Qt::Key_Left:
        if (m_inSubList) {
            hideSubList();
            return true;
        }
        ShowSubMenu((m_open + kPullDownCount - 1) % kPullDownCount);
        moveRow(1);
        return true;
    case Qt::Key_Space:
        // Space is the focused control's own (a tick in the tree) unless the
        // keyboard is on the menu.
        if (!hasFocus())
            return false;
        [[fallthrough]];
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_inSubList) {
            lblSubMenu_Click(m_lastSubRow);
            return true;
        }
        if (m_lastRow >= 0 && m_lastRow < int(m_rows.size()) && lblMenu[size_t(m_lastRow)]->hovered()) {
            const bool list = m_rows[size_t(m_lastRow)].iconVisible;
            lblMenu_Click(m_lastRow);
            if (list && Picture2->isVisible()) {
                m_inSubList = true;
                lblSubMenu_MouseMove(0);
            }
        }
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        hideMenu();
        return false;
    default:
        return false;
    }
}

void WidgetDrawnMenu::keyPressEvent(QKeyEvent* event)
{
    // The menu closed, the keyboard on a top picture.
    switch (event->key()) {
    case Qt::Key_Left:
        chooseTop(m_keyTop - 1);
        return;
    case Qt::Key_Right:
        chooseTop(m_keyTop + 1);
        return;
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        ShowSubMenu(m_keyTop);
        moveRow(1);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void WidgetDrawnMenu::focusInEvent(QFocusEvent* event)
{
    if (m_open < 0)
        chooseTop(m_keyTop);
    QWidget::focusInEvent(event);
}

void WidgetDrawnMenu::focusOutEvent(QFocusEvent* event)
{
    if (m_open < 0)
        for (WidgetMenuPicture* picture : image5)
            picture->setChosen(false);
    QWidget::focusOutEvent(event);
}

void WidgetDrawnMenu::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

void WidgetDrawnMenu::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}
