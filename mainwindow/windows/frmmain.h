#pragma once

#include "mainwindow/ModeChoice.h"

#include <QPixmap>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class WidgetCategoryTreeView;
class QTreeWidgetItem;
class WidgetPicture;
template <typename Window> class DefaultInstance;

// The main window after login: the exam's name and logo, the mode pictures
// and option buttons with the limits of each mode, the mode description, the
// category and chapter tree of the practice pool, the question-count list,
// and Start and Exit. The rules live in ModeChoice and the start command
// (ExamLaunch); the window shows their state and reports the user's actions.
//
// The drawn menu attaches itself as child widgets: an attacher set with
// setMenuAttacher runs at the end of every load, puts the top menu pictures
// into menuArea() (a strip across the top of the window) and its pull-downs
// over the window, and reads what its rows depend on from menuInputs().
class frmmain : public QWidget {
    Q_OBJECT
public:
    // The one instance, created on first use.
    static frmmain& instance();
    static bool exists();
    // Unloads the window without ending the program; it is deleted once
    // control is back in the event loop.
    static void unload();

    // Loads the window for the exam chosen at login (on its first showing)
    // and shows it (not modally).
    void showForExam(const QString& examDescription);
    // Shows the window again as it was left (after an exam).
    void showAgain();

    // ---- the drawn menu's attachment ----
    using MenuAttacher = std::function<void(frmmain& window)>;
    static void setMenuAttacher(MenuAttacher attacher);
    // What the menu's rows and their enabled states depend on, as the load
    // left it.
    struct MenuInputs {
        QString examDescription;
        bool administrator = false;
        bool clearHistoryEnabled = false;     // mnuclearHistory
        bool adminPreferencesEnabled = false; // mnuviewPref
        bool examDescriptionEnabled = false;  // mnuExamDescription
        short showAdminPref = 0;              // gShowAdminPref
        bool learningObjectives = false;      // HasLearningObjectives() > 0
        bool webLinks = false;                // first-level web links exist
        bool examComment = false;             // the exam has a comment text
        QString foreColor, foreColorSelected, fontFace;
    };
    MenuInputs menuInputs() const;
    // The strip across the top that holds the top menu pictures (image5).
    QWidget* menuArea() const { return m_menuArea; }
    // menuBgroundold.jpg (the pull-downs' look) and arrow.jpg (the rows'
    // icons); null when missing.
    const QPixmap& pullDownPicture() const { return m_pullDownPicture; }
    const QPixmap& rowIconPicture() const { return m_rowIconPicture; }
    // The Clear History command; until the menu sets it, cmdClearHistory
    // says that it comes with a later version.
    std::function<void()> clearHistoryCommand;

    // ---- the exam's state and controls ----
    ModeChoice mode;
    bool ChangingExam = false; // set by Change Exam: unloading then does not end the program
    int AnalysisPass = 0;      // the pass of the historical analysis: always the pass in progress

    QWidget* m_menuArea;
    QLabel* imgLogo;
    QLabel* lblExamName;
    QGroupBox* Frame5;
    // Index 0 practice chosen, 1 practice button, 2 pretest chosen, 3 pretest button.
    std::array<WidgetPicture*, 4> Image3;
    // Index 0 simulated chosen, 1 simulated button.
    std::array<WidgetPicture*, 2> Image2;
    QRadioButton* Option1;
    QRadioButton* Option2;
    QRadioButton* Option3;
    QLabel* Label7;
    QLabel* Label9;
    QLabel* Label10;
    WidgetCategoryTreeView* tvwCategory;
    QPlainTextEdit* lblAdaptive;
    QGroupBox* frmTime;
    QLabel* lblTimeAllowed;
    QGroupBox* frmQues;
    QListWidget* lstQues;
    QPushButton* cmdClearHistory;
    QPushButton* cmdNotes;
    // Index 0 Start, 1 Exit, 2 and 3 their unhighlighted twins.
    std::array<WidgetPicture*, 4> Image6;
    // The menu bar's commands (the menu bar itself is never shown); their
    // enabled states follow the user's rights.
    QAction* mnuExam;
    QAction* mnuclearHistory;
    QAction* mnuviewPref;
    QAction* mnuExamDescription;
    QAction* mnuExit;

    // The start (0) and exit (1) pictures' command.
    void Image6_Click(int index);
    void mnuExam_Click();
    void mnuclearHistory_Click();
    void mnuNotes_Click();
    // Ends the program at once: no unload, nothing stored.
    void endProgram();
    // How the program ends (tests replace it); by default the event loop quits.
    static void setProgramEnd(std::function<void()> end);

    // The node index of a tree item, and the item of a node.
    QTreeWidgetItem* itemOf(int node) const;

signals:
    // The pointer moved over the window's own surface: the menu closes its
    // pull-downs.
    void freeAreaHovered();
    // The window unloads and the program ends (not a change of exam).
    void unloading();

protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class DefaultInstance<frmmain>;
    frmmain();
    void buildControls();
    void applyLook();
    // False when the exam database could not be read and the user gave up.
    bool Form_Load();
    void loadPictures();
    void applyRights();
    void fillTreeItems();
    // Shows the state of the mode choice in the controls (signals of
    // controls set from code are blocked).
    void showState();
    void showCountList();
    void hoverCaption(QLabel* caption);
    void showStartExitTwins(bool startHighlighted, bool exitHighlighted);
    void sizeToScreen();

    bool m_loaded = false;
    QString m_examDescription;
    QPixmap m_background;
    QPixmap m_pullDownPicture;
    QPixmap m_rowIconPicture;
    std::array<QString, 3> m_descriptions; // by ModeDescription
    int m_learningObjectives = 0;
    bool m_webLinks = false;
    bool m_examComment = false;
    QButtonGroup* m_options;
    QWidget* m_rightColumn;                   // description, time and question count
    QLabel* m_minutes;                        // the unit beside lblTimeAllowed, shown with a time
    std::array<QLabel*, 2> m_startExitKeys{}; // "Alt+E" under Start, "Alt+X" under Exit
    std::array<bool, 2> m_twinsWanted{};      // Start, Exit: the highlighted twin asked for last
    bool m_settingTwins = false;              // showStartExitTwins is at work
    QLabel* m_hoveredCaption = nullptr;
    std::vector<int> m_shownCounts; // the list's entries as shown
};
