#include "admin/windows/frmAdminPref.h"

#include "admin/AdminTexts.h"
#include "admin/UserLists.h"
#include "admin/links/UnloadMainWindowLink.h"
#include "foundation/DebugLog.h"
#include "foundation/HotKeySettings.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/UiHooks.h"
#include "foundation/UserRights.h"
#include "foundation/windows/WidgetSkinning.h"
#include "foundation/windows/frmDBSel.h"
#include "platform/ui/DefaultInstance.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedLayout>
#include <QTabBar>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

frmAdminPref::FileChooser& frmAdminPref::fileChooser()
{
    // An existing file only: the chosen database is opened, never created.
    static FileChooser chooser = [](QWidget* parent, const QString& title, const QString& filter) {
        return QFileDialog::getOpenFileName(parent, title, QString(), filter);
    };
    return chooser;
}

void frmAdminPref::setFileChooser(FileChooser chooser)
{
    fileChooser() = std::move(chooser);
}

frmAdminPref* frmAdminPref::current()
{
    return DefaultInstance<frmAdminPref>::find();
}

void frmAdminPref::showModal(QWidget* owner)
{
    frmAdminPref& window = DefaultInstance<frmAdminPref>::get();
    window.setParent(owner, Qt::Dialog);
    window.setWindowModality(Qt::ApplicationModal);
    bool loaded = false;
    window.guarded("Form_Load", [&window, &loaded] {
        window.Form_Load();
        loaded = true;
    });
    if (loaded) {
        gGuard.gExamWindowActive = false;
        window.exec();
    }
    const bool changeExam = window.m_changeExam;
    window.m_conn.reset();
    DefaultInstance<frmAdminPref>::discard(&window);
    if (changeExam) {
        // The user logs in again and can pick the new exam.
        UnloadMainWindowLink::open();
        frmDBSel& login = frmDBSel::instance();
        login.Relogin = QStringLiteral("Yes");
        login.show();
        login.raise();
        login.activateWindow();
    }
}

frmAdminPref::frmAdminPref() : QDialog(nullptr)
{
    setObjectName(QStringLiteral("frmAdminPref"));
    setMouseTracking(true);

    tabPreference = new QTabBar(this);
    tabPreference->setObjectName(QStringLiteral("tabPreference"));
    tabPreference->addTab(QStringLiteral("User Settings"));
    tabPreference->addTab(QStringLiteral("Administrative Settings"));
    tabPreference->addTab(QStringLiteral("Attach New Exam"));

    fraUserSettings = new QFrame(this);
    fraUserSettings->setObjectName(QStringLiteral("fraUserSettings"));
    fraAdminSettings = new QFrame(this);
    fraAdminSettings->setObjectName(QStringLiteral("fraAdminSettings"));
    fraAttachExam = new QFrame(this);
    fraAttachExam->setObjectName(QStringLiteral("fraAttachExam"));

    buildUserPanel();
    buildSettingsPanel();
    buildAttachPanel();

    lblIndicater = new QLabel(QStringLiteral("Preference Indicator"), this);
    lblIndicater->setObjectName(QStringLiteral("lblIndicater"));
    Command2 = new QPushButton(QStringLiteral("Close"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAutoDefault(false);
    m_busyParts << tabPreference << fraUserSettings << fraAttachExam << Command2;

    // One panel at a time in a stack: the window's least size is that of
    // its largest panel from the start, so a switch of tabs never grows it.
    m_panels = new QStackedLayout;
    for (QFrame* panel : {fraUserSettings, fraAdminSettings, fraAttachExam})
        m_panels->addWidget(panel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabPreference);
    layout->addLayout(m_panels, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblIndicater, 1);
    bottom->addWidget(Command2);
    layout->addLayout(bottom);

    for (QWidget* hinted : {static_cast<QWidget*>(Command11), static_cast<QWidget*>(Command2)})
        hinted->installEventFilter(this);
    connectHandlers();
    tabPreference_Click(0);
    stabUser_Click(0);
    sizeToScreen();
}

void frmAdminPref::sizeToScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // Room for the frame the window system adds; never below what the
    // largest panel needs.
    const QSize least = minimumSizeHint();
    const QSize size(std::max(least.width(), std::min(820, available.width() - 24)),
                     std::max(least.height(), std::min(560, available.height() - 48)));
    resize(size);
    move(available.center() - QPoint(size.width() / 2, size.height() / 2 + 12));
}

void frmAdminPref::connectHandlers()
{
    connect(tabPreference, &QTabBar::currentChanged, this, &frmAdminPref::tabPreference_Click);
    connect(stabUser, &QTabBar::currentChanged, this, &frmAdminPref::stabUser_Click);
    connect(Command2, &QPushButton::clicked, this, [this] { guarded("Command2_Click", [this] { Command2_Click(); }); });

    connect(cmdAdd, &QPushButton::clicked, this, [this] { guarded("cmdAdd_Click", [this] { cmdAdd_Click(); }); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { guarded("cmdEdit_Click", [this] { cmdEdit_Click(); }); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { guarded("cmdOK_Click", [this] { cmdOK_Click(); }); });
    connect(Command1, &QPushButton::clicked, this, [this] { guarded("Command1_Click", [this] { Command1_Click(); }); });
    connect(cmdDelete, &QPushButton::clicked, this,
            [this] { guarded("cmdDelete_Click", [this] { cmdDelete_Click(); }); });
    connect(flexUser, &QTableView::doubleClicked, this,
            [this] { guarded("flexUser_DblClick", [this] { flexUser_DblClick(); }); });
    connect(flexUser->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (!m_quietRowChange)
            guarded("flexUser_RowColChange", [this] { flexUser_RowColChange(); });
    });
    connect(cmdSelectAll, &QPushButton::clicked, this,
            [this] { guarded("cmdSelectAll_Click", [this] { cmdSelectAll_Click(); }); });

    connect(Command11, &QPushButton::clicked, this,
            [this] { guarded("Command11_Click", [this] { Command11_Click(); }); });
    connect(cmdSetUserRights, &QPushButton::clicked, this,
            [this] { guarded("cmdSetUserRights_Click", [this] { cmdSetUserRights_Click(); }); });
    connect(grdListExams, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        guarded("grdListExams_ItemClick", [this, item] { grdListExams_ItemClick(item); });
    });
    // Only the administrator's own tick changes reach these: the window's
    // own ticks are made with signals blocked, and the user list's model
    // names only a tick set from the view. The work runs once the item's
    // change has returned: it refills the list the item is in.
    connect(grdListExams, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (column != 0 || item->checkState(0) == Qt::Checked)
            return;
        const QString code = item->text(0);
        QMetaObject::invokeMethod(
            this, [this, code] { guarded("grdListExams_ItemCheck", [this, code] { grdListExams_ItemCheck(code); }); },
            Qt::QueuedConnection);
    });
    connect(m_userTicks, &UserTickModel::userTicked, this, [this](int code) {
        QMetaObject::invokeMethod(
            this, [this, code] { guarded("grdUserList_ItemCheck", [this, code] { grdUserList_ItemCheck(code); }); },
            Qt::QueuedConnection);
    });

    connect(cmdCheatKeySet, &QPushButton::clicked, this,
            [this] { guarded("cmdCheatKeySet_Click", [this] { cmdCheatKeySet_Click(); }); });
    connect(cmdSavePassWord, &QPushButton::clicked, this,
            [this] { guarded("cmdSavePassWord_Click", [this] { cmdSavePassWord_Click(); }); });
    connect(Command4, &QPushButton::clicked, this, [this] { guarded("Command4_Click", [this] { Command4_Click(); }); });
    connect(Command5, &QPushButton::clicked, this, [this] { guarded("Command5_Click", [this] { Command5_Click(); }); });
    connect(cmdUpdateExamUsers, &QPushButton::clicked, this,
            [this] { guarded("cmdUpdateExamUsers_Click", [this] { cmdUpdateExamUsers_Click(); }); });
}

bool frmAdminPref::guarded(const char* procedure, const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const std::exception& error) {
        WriteLog(describeError(error) + QStringLiteral(" : AdminPref:") + QLatin1String(procedure) + QStringLiteral(":")
                 + logDate());
        ShowMessage(adminFailureText(procedure, error), gLogin.gAppName, OneButton, this);
        return false;
    }
}

db::Connection& frmAdminPref::connection()
{
    if (!m_conn || !m_conn->isOpen())
        m_conn.emplace(db::Connection::open(gStartup.gSysConnStr));
    return *m_conn;
}

void frmAdminPref::reopenConnection()
{
    if (m_conn && m_conn->isOpen())
        m_conn->close();
    m_conn.emplace(db::Connection::open(gStartup.gSysConnStr));
}

void frmAdminPref::Form_Load()
{
    BusyPointer busy;
    lblCurrebtDB->setText(gStartup.gSysDbPath);
    setWindowTitle(gLogin.gAppName + QStringLiteral(" - Admin Preferences"));
    skinWindow(this);

    cmbCheatKey->clear();
    for (const HotKeyChoice& choice : hotKeyChoices())
        cmbCheatKey->addItem(QString::fromLatin1(choice.name));
    // The stored key shows as chosen, so Set keeps it.
    cmbCheatKey->setCurrentIndex(hotKeyIndex(gAdmin.gHotKey.toInt()));
    chkEnableCheatKey->setChecked(gAdmin.gCheatKeyEnabled);

    reopenConnection();
    RefillUserList();
    FillUserSettingsOnformLoad();
    FillExistingExamsInList();
    applyButtons(profileButtonsAfter(ProfileStep::Load, usersListed(), false));
    txtOldPass->setText(GetAdminPassword(connection()));
    showStoredUserMode();
}

void frmAdminPref::tabPreference_Click(int index)
{
    m_panels->setCurrentWidget(index == 1 ? fraAdminSettings : index == 2 ? fraAttachExam : fraUserSettings);
}

void frmAdminPref::stabUser_Click(int index)
{
    m_userPanels->setCurrentWidget(index == 1 ? fraGrantDeny : fraEditUser);
}

void frmAdminPref::mouseMoveEvent(QMouseEvent* event)
{
    lblIndicater->setText(QStringLiteral("Preference Indicator"));
    QDialog::mouseMoveEvent(event);
}

bool frmAdminPref::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter) {
        if (watched == Command11)
            lblIndicater->setText(QStringLiteral("Attach New Exam Database"));
        else if (watched == Command2)
            lblIndicater->setText(QStringLiteral("Close Settings."));
    }
    return QDialog::eventFilter(watched, event);
}

void frmAdminPref::setBusy(bool busy)
{
    m_busy = busy;
    // Every button goes off with its panel or group, and comes back in the
    // state it had; the progress bar goes on moving.
    for (QWidget* part : m_busyParts)
        part->setEnabled(!busy);
}

void frmAdminPref::letEventsRun()
{
    uiHooks().processEvents();
}

void frmAdminPref::reject()
{
    // Not while a long loop runs: it holds the window's connection.
    if (!m_busy)
        QDialog::reject();
}

void frmAdminPref::closeEvent(QCloseEvent* event)
{
    if (m_busy)
        event->ignore();
    else
        QDialog::closeEvent(event);
}
