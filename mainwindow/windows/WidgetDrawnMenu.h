#pragma once

#include "mainwindow/Favourites.h"
#include "mainwindow/MenuColour.h"
#include "mainwindow/MenuRows.h"
#include "mainwindow/WebLinks.h"
#include "mainwindow/windows/WidgetMenuParts.h"

#include <QColor>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <exception>
#include <functional>
#include <vector>

class QLabel;

// What the drawn menu needs of the main window that carries it.
struct DrawnMenuSetup {
    // The row conditions, fixed at the window's load.
    MenuInputs inputs;
    // The fore colours and font face of setup.xml (readMenuLook()).
    MenuLook look;
    // The pull-down's look (menuBgroundold.jpg) and a link row's icon
    // (arrow.jpg); a null picture is drawn flat.
    QPixmap pullDownPicture;
    QPixmap rowIcon;
    // The exam's product, for the update check (Qe_ProductId, Qe_Version_No).
    QString productId;
    QString productVersion;
    // Change Exam: marks the window as changing the exam and unloads it (its
    // unload then stores nothing and does not end the program). The menu then
    // hands the user back to the login window.
    std::function<void()> unloadForChangeExam;
    // Exit: ends the program at once, without the window's unload. Empty: the
    // program's end (the event loop stops; nothing is stored).
    std::function<void()> endProgram;
};

// The main window's drawn menu. Its five top pictures (image5) sit in a strip
// one row high; hovering one opens its pull-down (Picture1), whose rows run
// the menu's commands or, in the "Notes" pull-down, open the exam's web
// links and their second-level lists (Picture2). The lists are children of
// the host, above its other children, so they cover the window's content
// and never grab the mouse: moving to another top picture switches the
// pull-down. The menu closes when the pointer has left all of its parts,
// on Esc, on a click elsewhere, when the window is deactivated or hidden,
// and before a modal window opens; closing forgets the open pull-down, so
// the same picture opens it again. Keyboard, as a menu bar: Alt and a top
// picture's underlined letter opens its pull-down and F10 the first one (F10
// again closes it), wherever the focus is in the window; Down or Enter opens
// the chosen picture's pull-down when the menu has the focus; the arrows
// move between rows, top pictures and the second-level list, Enter runs a
// row, Esc closes.
class WidgetDrawnMenu : public QWidget {
    Q_OBJECT
public:
    // The menu's strip in stripParent with its top left corner at topLeft;
    // its lists lie over stripParent's window.
    static WidgetDrawnMenu* attach(QWidget* stripParent, const QPoint& topLeft, DrawnMenuSetup setup);
    ~WidgetDrawnMenu() override;

    static constexpr std::array<const char*, kPullDownCount> kTopCaptions = {"File", "Tools", "History", "Notes",
                                                                             "Help"};
    // The letters that open them with Alt (History and Help share their first).
    static constexpr std::array<char, kPullDownCount> kTopKeys = {'F', 'T', 'S', 'N', 'H'};
    // The pointer must stay off the menu this long before it closes.
    static constexpr int kCloseDelayMs = 150;

    std::array<WidgetMenuPicture*, kPullDownCount> image5{};
    WidgetMenuList* Picture1; // the pull-down
    WidgetMenuList* Picture2; // the second-level list
    // Rows, made as the longest list so far needs them.
    std::vector<WidgetMenuRow*> lblMenu;
    std::vector<QLabel*> imgSubmenu;
    std::vector<WidgetMenuRow*> lblSubMenu;
    // The favourites list; element 0 the separator.
    FavouriteList mnuDynamicAddFavourite = initialFavourites();

    // The pull-down open now, -1 when the menu is closed.
    int openPullDown() const { return m_open; }
    // The rows of the open pull-down and of the second-level list shown.
    const std::vector<MenuRow>& rows() const { return m_rows; }
    const std::vector<WebLinkRow>& subRows() const { return m_subRows; }
    const DrawnMenuSetup& setup() const { return m_setup; }

    void ShowSubMenu(int pullDown);
    // A pull-down opened from the keyboard: its first row chosen.
    void openFromKeyboard(int pullDown);
    void hideMenu();
    void lblMenu_Click(int row);
    void lblSubMenu_Click(int row);
    void lblMenu_MouseMove(int row);
    void lblSubMenu_MouseMove(int row);
    void mnuDynamicAddFavourite_Click(int index);
    // The window's unload (when it does not change the exam): stores the
    // favourites in the user's section. False (logged) when the settings
    // could not be written.
    bool storeFavourites();
    // Runs a command row's command, the pull-down closed first.
    void runCommand(MenuCommand command);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    WidgetDrawnMenu(QWidget* stripParent, DrawnMenuSetup setup);
    QWidget* owner() const;
    WidgetMenuRow* makeRow(int index, WidgetMenuList* list, std::vector<WidgetMenuRow*>& rows, bool main);
    void showSubList(int row, int parent);
    void hideSubList();
    void layOutStrip();
    int listWidth(const QStringList& captions, int iconRoom) const;
    // Whether the pointer is over any part of the menu.
    MenuPointer pointer() const;
    MenuPointer pointerAt(const QPoint& global) const;
    void closeIfPointerLeft();
    // A key while the menu is open; true when the menu used it.
    bool menuKey(int key);
    void moveRow(int step);
    void chooseTop(int index);
    void setWatching(bool watching);
    // A failure of the menu: logged with the error's own text; shown with
    // what could not be done and, for a database's failure, the exam
    // database, why and what to do in the program's words.
    static void reportCommandError(const QString& what, const std::exception& error, QWidget* owner);

    QPointer<QWidget> m_host;
    DrawnMenuSetup m_setup;
    QColor m_foreColour, m_selectedColour;
    QPixmap m_picture, m_arrow;
    std::vector<MenuRow> m_rows;
    std::vector<WebLinkRow> m_subRows;
    int m_open = -1;
    // A pull-down being opened: a message it shows (links that cannot be
    // read) hands the pointer back to the picture, whose hover must not open
    // it again meanwhile.
    bool m_opening = false;
    int m_lastRow = 0;        // last hovered pull-down row
    int m_lastSubRow = 0;     // last hovered second-level row
    int m_subListRow = -1;    // the pull-down row whose list is shown
    bool m_inSubList = false; // the keyboard is in the second-level list
    int m_keyTop = 0;         // the top picture the keyboard is on
    bool m_watching = false;
    QTimer m_closeTimer;
};
