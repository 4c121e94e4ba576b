#include "mainwindow/windows/frmmain.h"

#include "exam/ClockRandomSource.h"
#include "foundation/DebugLog.h"
#include "foundation/LoginRules.h"
#include "foundation/Messages.h"
#include "foundation/ProgramEnd.h"
#include "foundation/Settings.h"
#include "foundation/SharedState.h"
#include "foundation/WindowLink.h"
#include "mainwindow/ExamLaunch.h"
#include "mainwindow/MainWindowShared.h"
#include "mainwindow/MenuRows.h"
#include "mainwindow/WebLinks.h"
#include "mainwindow/links/ExamWindowLink.h"
#include "mainwindow/links/LoginAgainLink.h"
#include "mainwindow/links/LoginWindowLink.h"
#include "mainwindow/windows/WidgetCategoryTreeView.h"
#include "mainwindow/windows/WidgetMenuCommands.h"
#include "mainwindow/windows/WidgetPicture.h"
#include "platform/ui/DefaultInstance.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <exception>
#include <utility>

namespace {

const QColor kHoveredCaption(0, 0, 255);

frmmain::MenuAttacher& menuAttacher()
{
    static frmmain::MenuAttacher attacher;
    return attacher;
}

// Ends at once: exit(), not quit(), which would first ask every window to
// close and so run their close handlers (the favourites would be written).
void endProgramNow()
{
    setProgramEnding(true);
    QCoreApplication::exit(0);
}

std::function<void()>& programEnd()
{
    static std::function<void()> end = endProgramNow;
    return end;
}

void loadLine(const QString& text)
{
    if (gStartup.gDebug == 1)
        WriteLog(text + logDateTime());
}

// A setting, or "" when setup.xml lacks it.
QString setting(const QString& key, bool trimIndent = true)
{
    try {
        return ReadSetting(key, trimIndent);
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace

frmmain& frmmain::instance()
{
    return DefaultInstance<frmmain>::get();
}

bool frmmain::exists()
{
    return DefaultInstance<frmmain>::find() != nullptr;
}

void frmmain::unload()
{
    if (frmmain* window = DefaultInstance<frmmain>::find()) {
        window->ChangingExam = true;
        window->close();
        DefaultInstance<frmmain>::discard(window);
    }
}

void frmmain::setMenuAttacher(MenuAttacher attacher)
{
    menuAttacher() = std::move(attacher);
}

void frmmain::setProgramEnd(std::function<void()> end)
{
    programEnd() = end ? std::move(end) : std::function<void()>(endProgramNow);
}

void frmmain::showForExam(const QString& examDescription)
{
    m_examDescription = examDescription;
    lblExamName->setText(examDescription);
    if (!m_loaded && !Form_Load()) {
        // A main window that cannot start an exam never shows: the user is
        // back at the login window as it was at the start.
        ChangingExam = true;
        hide();
        LoginAgainLink::open();
        DefaultInstance<frmmain>::discard(this);
        return;
    }
    setWindowTitle(gLogin.gAppTitle);
    showAgain();
}

void frmmain::showAgain()
{
    show();
    raise();
    activateWindow();
}

frmmain::frmmain()
    : QWidget(nullptr,
              Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                  | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(gLogin.gAppTitle);
    setMouseTracking(true);
    buildControls();
    applyLook();
    sizeToScreen();
}

// ---- load ----

bool frmmain::Form_Load()
{
    loadLine(QStringLiteral("begining of Function :Form_Load:frmMain"));
    setWindowTitle(gLogin.gAppName);
    ChangingExam = false;
    gMain.gFontFace = setting(QStringLiteral("SetupInfo/GeneralSettings/DefaultFontFace"));
    gMain.gFontSize = 10.0;
    gMain.gMainFlag = true;
    loadPictures();

    std::optional<MainWindowLoad> read = readMainWindowLoad(gLogin.gExamConnStr, [this](const QString& message) {
        return ShowMessage(message, gLogin.gAppName, YesNo, this) == ResultYes;
    });
    if (!read)
        return false;
    MainWindowLoad data = std::move(*read);
    if (data.product) {
        gMain.gProductId = data.product->productId;
        gMain.gProductVersion = data.product->version;
    }
    loadLine(QStringLiteral("Product info gathered frmMain Form_load:  :Form_Load: Date/Time :"));
    const WebLinkFlags links = IsWebLinks(gLogin.gExamConnStr);
    m_webLinks = links.links;
    m_examComment = links.comment;
    m_learningObjectives = data.learningObjectives;
    loadLine(QStringLiteral("Web Link Information Gathered:  :frmMain Form_Load: Date/Time :"));
    hoverCaption(Label7);
    applyRights();

    loadLine(QStringLiteral("Filling Category in to the tree:  :frmMain Form_Load: Date/Time :"));
    logTreeFill(data.categories, QStringLiteral("frmMain"));
    const bool administrator = isAdministratorLogin(gLogin.gLoginId);
    loadLine(QStringLiteral("Category Filled in to the tree:  :frmMain Form_Load: Date/Time :"));
    loadLine(QStringLiteral("Setting Maximum questions:  :frmMain Form_Load: Date/Time :"));
    loadLine(QStringLiteral("Entering module: module SetMaxQuestion :frmMain Form_Load: Date/Time :"));
    loadLine(QStringLiteral("End of module: module SetMaxQuestion :frmMain Form_Load: Date/Time :"));
    loadLine(QStringLiteral("Maximum questions Set:  :frmMain Form_Load: Date/Time :"));
    loadLine(QStringLiteral("Image 3 Clicked:  :frmMain Form_Load: Date/Time :"));
    mode.load(m_examDescription.isEmpty() ? gLogin.gExamDesc : m_examDescription, std::move(data), administrator);
    fillTreeItems();

    // The three descriptions stand after exactly three indentation characters.
    const char* const descriptionKeys[] = {"Pretest", "Simulated", "Adaptive"};
    for (size_t i = 0; i < m_descriptions.size(); ++i) {
        bool trimIndent = false;
        m_descriptions[i] = modeDescriptionText(setting(
            QStringLiteral("SetupInfo/MainMenuSettings/EngineModeDescriptions/") + QLatin1String(descriptionKeys[i]),
            trimIndent));
    }
    lblAdaptive->clear();

    gMain.gMenuForeColor = setting(QStringLiteral("SetupInfo/MainMenuSettings/Forecolor"));
    gMain.gMenuFontFace = setting(QStringLiteral("SetupInfo/MainMenuSettings/MenuFontFace"));
    gMain.gMenuForeColorSelected = setting(QStringLiteral("SetupInfo/MainMenuSettings/ForecolorSelected"));
    loadLine(QStringLiteral("Setting Menu Forecolor:  :frmMain Form_Load: Date/Time :"));
    applyLook();
    showState();
    m_loaded = true;
    loadLine(QStringLiteral("End of Function :Form_Load:frmMain"));
    if (menuAttacher())
        menuAttacher()(*this);
    return true;
}

void frmmain::applyRights()
{
    const bool enabled = menuRightsEnabled(gLogin.gLoginId, gStartup.gMultiUser);
    for (QAction* item : {mnuclearHistory, mnuviewPref, mnuExamDescription})
        item->setEnabled(enabled);
    cmdClearHistory->setEnabled(mnuclearHistory->isEnabled());
}

void frmmain::fillTreeItems()
{
    tvwCategory->fill(mode.tree);
}

QTreeWidgetItem* frmmain::itemOf(int node) const
{
    return tvwCategory->itemOf(node);
}

// ---- showing the state ----

void frmmain::showState()
{
    // A mode button chosen from the keyboard hides itself: the focus moves on
    // to the first mode button still shown, never to a hidden control.
    QWidget* const focused = focusWidget();
    Image3[2]->setVisible(mode.pretestChosen);
    Image3[3]->setVisible(!mode.pretestChosen);
    Image3[0]->setVisible(mode.practiceChosen);
    Image3[1]->setVisible(!mode.practiceChosen);
    Image2[0]->setVisible(mode.simulatedChosen);
    Image2[1]->setVisible(!mode.simulatedChosen);
    if (focused && focused->isHidden()) {
        for (WidgetPicture* button : {Image3[3], Image3[1], Image2[1]})
            if (!button->isHidden()) {
                button->setFocus(Qt::TabFocusReason);
                break;
            }
    }
    {
        const QSignalBlocker blocker(m_options);
        if (mode.option == ModeChoice::NoOption) {
            m_options->setExclusive(false);
            for (QAbstractButton* button : m_options->buttons())
                button->setChecked(false);
            m_options->setExclusive(true);
        } else {
            m_options->button(int(mode.option))->setChecked(true);
        }
    }
    tvwCategory->setEnabled(mode.treeEnabled);
    tvwCategory->showChecks(mode.tree);
    frmTime->setVisible(mode.timeFrameVisible);
    lblTimeAllowed->setText(mode.timeAllowed);
    m_minutes->setVisible(!mode.timeAllowed.isEmpty());
    lstQues->setEnabled(mode.countListEnabled);
    showCountList();
    const QString& description = m_descriptions[size_t(mode.description)];
    if (lblAdaptive->toPlainText() != description) {
        lblAdaptive->setPlainText(description);
        lblAdaptive->verticalScrollBar()->setValue(0);
    }
}

void frmmain::showCountList()
{
    const QSignalBlocker blocker(lstQues);
    if (m_shownCounts != mode.lstQues.items) {
        lstQues->clear();
        QStringList entries;
        entries.reserve(qsizetype(mode.lstQues.items.size()));
        for (const int number : mode.lstQues.items)
            entries << QString::number(number);
        lstQues->addItems(entries);
        m_shownCounts = mode.lstQues.items;
    }
    const int selected = mode.lstQues.selected;
    if (selected >= 0 && selected < lstQues->count()) {
        lstQues->setCurrentRow(selected);
        lstQues->scrollToItem(lstQues->item(selected), QAbstractItemView::PositionAtCenter);
    } else {
        lstQues->setCurrentRow(-1);
        lstQues->clearSelection();
    }
}

void frmmain::hoverCaption(QLabel* caption)
{
    if (m_hoveredCaption == caption)
        return;
    if (m_hoveredCaption)
        m_hoveredCaption->setStyleSheet(QStringLiteral("color: #000000;"));
    m_hoveredCaption = caption;
    caption->setStyleSheet(QStringLiteral("color: %1;").arg(kHoveredCaption.name()));
}

void frmmain::showStartExitTwins(bool startHighlighted, bool exitHighlighted)
{
    // A picture shown or hidden under the pointer gets its enter or leave at
    // once, which asks for the twins again in the middle of this: the last
    // request waits until this one is done, so that a pair never ends with
    // both pictures hidden (Start gone after a message box closed over it).
    m_twinsWanted = {startHighlighted, exitHighlighted};
    if (m_settingTwins)
        return;
    m_settingTwins = true;
    std::array<bool, 2> done{};
    int round = 0;
    do {
        done = m_twinsWanted;
        for (size_t i = 0; i < 2; ++i) {
            WidgetPicture* shown = done[i] ? Image6[i] : Image6[i + 2];
            WidgetPicture* hidden = done[i] ? Image6[i + 2] : Image6[i];
            // The focus goes over to the twin, so that it is never lost to a
            // hidden picture.
            const bool focused = focusWidget() == hidden;
            const bool byKeyboard = hidden->keyboardFocus();
            shown->setVisible(true);
            if (focused)
                shown->setFocus(byKeyboard ? Qt::TabFocusReason : Qt::OtherFocusReason);
            hidden->setVisible(false);
        }
    } while (done != m_twinsWanted && ++round < 4);
    m_settingTwins = false;
}

// ---- commands ----

void frmmain::Image6_Click(int index)
{
    if (index == 0) {
        gGuard.gExamWindowActive = false;
        ClockRandomSource random;
        const StartOutcome outcome = startCommand(mode, random);
        if (!outcome.started()) {
            ShowMessage(outcome.refusal, gLogin.gAppName, OneButton, this);
            return;
        }
        // Hidden only now that the launch is sure.
        hide();
        ExamWindowLink::open(*outcome.record);
    } else if (index == 1) {
        endProgram();
    }
}

void frmmain::endProgram()
{
    const std::function<void()> end = programEnd();
    end();
}

void frmmain::mnuExam_Click()
{
    ChangingExam = true;
    hide();
    // The current user goes back to the login window.
    LoginWindowLink::open(gLogin.gLoginId, gLogin.gUserPassword);
    DefaultInstance<frmmain>::discard(this);
}

void frmmain::mnuclearHistory_Click()
{
    if (clearHistoryCommand) {
        const std::function<void()> command = clearHistoryCommand;
        command();
        return;
    }
    ShowMessage(windowComesLaterText(QStringLiteral("Clear History")), gLogin.gAppName, OneButton, this);
}

void frmmain::mnuNotes_Click()
{
    ::mnuNotes_Click(this);
}

frmmain::MenuInputs frmmain::menuInputs() const
{
    MenuInputs inputs;
    inputs.examDescription = m_examDescription;
    inputs.administrator = isAdministratorLogin(gLogin.gLoginId);
    inputs.clearHistoryEnabled = mnuclearHistory->isEnabled();
    inputs.adminPreferencesEnabled = mnuviewPref->isEnabled();
    inputs.examDescriptionEnabled = mnuExamDescription->isEnabled();
    inputs.showAdminPref = gLogin.gShowAdminPref;
    inputs.learningObjectives = m_learningObjectives > 0;
    inputs.webLinks = m_webLinks;
    inputs.examComment = m_examComment;
    inputs.foreColor = gMain.gMenuForeColor;
    inputs.foreColorSelected = gMain.gMenuForeColorSelected;
    inputs.fontFace = gMain.gMenuFontFace;
    return inputs;
}

// ---- events ----

void frmmain::closeEvent(QCloseEvent* event)
{
    if (gStartup.gDebug == 1)
        WriteLog(QStringLiteral("begining of Function :Form_UnLoad:frmMain") + logDate());
    event->accept();
    if (ChangingExam)
        return;
    emit unloading();
    if (gStartup.gDebug == 1)
        WriteLog(QStringLiteral("End of Function :Form_UnLoad:frmMain") + logDate());
    endProgram();
}

void frmmain::mouseMoveEvent(QMouseEvent* event)
{
    showStartExitTwins(false, false);
    emit freeAreaHovered();
    QWidget::mouseMoveEvent(event);
}

void frmmain::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_background.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(rect(), m_background);
        return;
    }
    QLinearGradient fill(0, 0, 0, height());
    fill.setColorAt(0, QColor(0xf4, 0xf7, 0xfa));
    fill.setColorAt(1, QColor(0xdc, 0xe6, 0xf0));
    painter.fillRect(rect(), fill);
}

void frmmain::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The window cannot stay maximised.
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMaximized)
        && !(windowState() & Qt::WindowMinimized))
        QTimer::singleShot(0, this, [this] { setWindowState(windowState() & ~Qt::WindowMaximized); });
}

bool frmmain::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* caption = qobject_cast<QLabel*>(watched);
        caption && (caption == Label7 || caption == Label9 || caption == Label10)) {
        if (event->type() == QEvent::Enter) {
            hoverCaption(caption);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            if (caption == Label9)
                mode.Label9_Click();
            else if (caption == Label7)
                mode.Label7_Click();
            else
                mode.Label10_Click();
            showState();
        }
    }
    return QWidget::eventFilter(watched, event);
}
