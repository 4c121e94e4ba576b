#include "foundation/windows/frmDBSel.h"

#include "foundation/ConnectionString.h"
#include "foundation/DebugLog.h"
#include "foundation/ExamDiscovery.h"
#include "foundation/LoginRules.h"
#include "foundation/Messages.h"
#include "foundation/ProgramEnd.h"
#include "foundation/ProgramFolder.h"
#include "foundation/Settings.h"
#include "foundation/SharedState.h"
#include "foundation/Startup.h"
#include "foundation/links/MainWindowLink.h"
#include "foundation/windows/WidgetSkinning.h"
#include "platform/ui/DefaultInstance.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>

namespace {

void debugLine(const QString& text)
{
    if (gStartup.gDebug == 1)
        WriteLog(text + logDate());
}

constexpr int kWidth = 500;
constexpr int kHeight = 400;
const QColor kLoginDoneColour(0, 0, 255);

} // namespace

frmDBSel& frmDBSel::instance()
{
    return DefaultInstance<frmDBSel>::get();
}

bool frmDBSel::exists()
{
    return DefaultInstance<frmDBSel>::find() != nullptr;
}

bool frmDBSel::showLogin()
{
    frmDBSel& window = instance();
    if (!window.Form_Load())
        return false;
    window.show();
    window.raise();
    window.activateWindow();
    return true;
}

void frmDBSel::showForChangeExam(const QString& login, const QString& password)
{
    show();
    raise();
    activateWindow();
    // After the showing, whose activation refills the boxes in single-user
    // mode; cmdLogin_Click makes them editable again.
    txtUser->setText(login);
    txtPassWord->setText(password);
    txtUser->setReadOnly(true);
    txtPassWord->setReadOnly(true);
}

void frmDBSel::showAsAtStart()
{
    txtUser->setReadOnly(false);
    txtPassWord->setReadOnly(false);
    txtUser->setEnabled(true);
    txtPassWord->setEnabled(true);
    txtPassWord->clear();
    // The login-done marker goes: the Login button logs in again.
    txtPassWord->setPalette(QPalette());
    show();
    raise();
    activateWindow();
}

frmDBSel::frmDBSel() : QWidget(nullptr, Qt::Window | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmDBSel"));
    setFixedSize(kWidth, kHeight);

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(0, 0, kWidth, kHeight);
    Picture1->setScaledContents(true);

    Label1 = new QLabel(QStringLiteral("Double Click to Select an Exam"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(17, 160, 300, 20);

    auto* userCaption = new QLabel(QStringLiteral("&Login"), this);
    userCaption->setObjectName(QStringLiteral("lblUserCaption"));
    userCaption->setGeometry(60, 114, 90, 26);
    txtUser = new QLineEdit(this);
    txtUser->setObjectName(QStringLiteral("txtUser"));
    txtUser->setGeometry(150, 114, 220, 26);
    txtUser->setFont(QFont(QStringLiteral("Verdana"), 10));
    userCaption->setBuddy(txtUser);

    auto* passwordCaption = new QLabel(QStringLiteral("&Password"), this);
    passwordCaption->setObjectName(QStringLiteral("lblPasswordCaption"));
    passwordCaption->setGeometry(60, 148, 90, 26);
    txtPassWord = new QLineEdit(this);
    txtPassWord->setObjectName(QStringLiteral("txtPassWord"));
    txtPassWord->setGeometry(150, 148, 220, 26);
    txtPassWord->setFont(QFont(QStringLiteral("Verdana"), 10));
    txtPassWord->setEchoMode(QLineEdit::Password);
    passwordCaption->setBuddy(txtPassWord);

    grdExamList = new QTableWidget(1, 3, this);
    grdExamList->setObjectName(QStringLiteral("grdExamList"));
    grdExamList->setHorizontalHeaderLabels({QStringLiteral("Code"), QStringLiteral("Exam"), QStringLiteral("Path")});
    grdExamList->verticalHeader()->hide();
    grdExamList->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdExamList->setSelectionMode(QAbstractItemView::SingleSelection);
    grdExamList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdExamList->horizontalHeader()->setStretchLastSection(false);
    grdExamList->setAlternatingRowColors(true);

    image1 = new QPushButton(QStringLiteral("Login"), this);
    image1->setObjectName(QStringLiteral("image1"));
    Command1 = new QPushButton(QStringLiteral("&Start"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Image3 = new QPushButton(QStringLiteral("E&xit"), this);
    Image3->setObjectName(QStringLiteral("Image3"));
    image1->setGeometry(kWidth - 3 * 100 - 17, kHeight - 46, 92, 30);
    Command1->setGeometry(kWidth - 2 * 100 - 17, kHeight - 46, 92, 30);
    Image3->setGeometry(kWidth - 100 - 17, kHeight - 46, 92, 30);

    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(17, kHeight - 42, 20, 22);
    LBLNetWork = new QLabel(QStringLiteral("From Network"), this);
    LBLNetWork->setObjectName(QStringLiteral("LBLNetWork"));
    LBLNetWork->setGeometry(40, kHeight - 42, 130, 22);
    Check1->setAutoFillBackground(true);

    connect(image1, &QPushButton::clicked, this, &frmDBSel::Image1_Click);
    connect(Command1, &QPushButton::clicked, this, &frmDBSel::Command1_Click);
    connect(Image3, &QPushButton::clicked, this, &frmDBSel::Image3_Click);
    connect(grdExamList, &QTableWidget::cellDoubleClicked, this, [this] { grdExamList_DblClick(); });
    txtPassWord->installEventFilter(this);
    grdExamList->installEventFilter(this);
    connect(txtUser, &QLineEdit::returnPressed, txtPassWord, qOverload<>(&QWidget::setFocus));

    setTabOrder(txtUser, txtPassWord);
    setTabOrder(txtPassWord, grdExamList);
    setTabOrder(grdExamList, image1);
    setTabOrder(image1, Command1);
    setTabOrder(Command1, Image3);
}

bool frmDBSel::Form_Load()
{
    debugLine(QStringLiteral("Entered frmDBSel ! : Form_load : "));
    // Each step that fails is reported and the load goes on with the next.
    auto step = [this](const std::function<void()>& work) {
        try {
            work();
        } catch (const std::exception& error) {
            WriteLog(QStringLiteral("Load problem! : Form_load : frmDBSel: ") + QString::fromUtf8(error.what())
                     + logDate());
            ShowMessage(loadProblemText(error), gLogin.gAppName, OneButton, this);
        }
    };

    step([] { gLogin.gIconPath = ReadSetting(QStringLiteral("SetupInfo/GeneralSettings/IconPath")).trimmed(); });
    step([] { gLogin.gAppName = ReadSetting(QStringLiteral("SetupInfo/GeneralSettings/AppName")); });
    step([] { gLogin.gEngineType = ReadSetting(QStringLiteral("SetupInfo/GeneralSettings/EngineType")); });
    step([] { gLogin.gEngineVersion = ReadSetting(QStringLiteral("SetupInfo/GeneralSettings/EngineVersion")); });
    gLogin.gAppTitle = gLogin.gAppName;
    step([] { gStartup.gSkinFile = ReadSetting(QStringLiteral("SetupInfo/GeneralSettings/ActiveSkinFile")); });
    step([] {
        const QString value = ReadSetting(QStringLiteral("SetupInfo/GeneralSettings/ShowAdminPref"));
        if (!convertCInt(value, gLogin.gShowAdminPref))
            throw std::runtime_error("Type mismatch (ShowAdminPref)");
    });
    gStartup.gSkinFile = QStringLiteral("/") + gStartup.gSkinFile;
    // A missing skin file or icon is reported like any failed step, and the
    // window goes on plain.
    for (const QString& file : skinWindow(this))
        step([&file] { throw MissingFileError(MissingFileError::Skin, file); });
    debugLine(QStringLiteral("Read basic settings and loaded skin file : frmDBSel "));

    step([this] { layoutForMode(); });
    debugLine(QStringLiteral("Setting screen: frmDBSel "));
    setWindowTitle(gLogin.gAppName);

    grdExamList->setRowCount(0);
    grdExamList->setColumnWidth(0, 0);
    grdExamList->setColumnWidth(1, 5500 / 15 + 90);
    grdExamList->setColumnHidden(0, true);
    grdExamList->setColumnHidden(2, true);
    grdExamList->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

    debugLine(QStringLiteral("Reading registry info: frmDBSel "));
    const DiscoveryResult discovery = ReadRegCurrentDB();
    if (discovery == DiscoveryResult::NoExamAttached)
        return false;
    if (discovery == DiscoveryResult::Failed) {
        debugLine(QStringLiteral("Data Folder empty. Cannot Proceed! : Form_load : frmDBSel "));
        ShowMessage(QString::fromLatin1(loginText::DataFolderEmpty), gLogin.gAppName, OneButton, this);
        return false;
    }
    debugLine(QStringLiteral("ReadRegCurrentDB Successful! : Form_load : frmDBSel "));
    ReadRegistaryTOFillForm();
    debugLine(QStringLiteral("ReadRegistaryTOFillForm Completed! : Form_load : frmDBSel "));
    if (!ReadDataDir())
        return false;
    debugLine(QStringLiteral("Data Reading completed Successfully! : Form_load : frmDBSel "));
    debugLine(QStringLiteral("Skin File loaded! : Form_load : frmDBSel "));
    return true;
}

void frmDBSel::layoutForMode()
{
    const QString picture =
        gStartup.gMultiUser ? QStringLiteral("/LoginBgMultUser.jpg") : QStringLiteral("/LoginBgSglUser.jpg");
    Picture1->lower();
    Label1->hide();
    const bool multi = gStartup.gMultiUser;
    for (QWidget* control :
         {static_cast<QWidget*>(txtPassWord), static_cast<QWidget*>(txtUser), static_cast<QWidget*>(image1),
          static_cast<QWidget*>(Check1), static_cast<QWidget*>(LBLNetWork)})
        control->setVisible(multi);
    for (const char* name : {"lblUserCaption", "lblPasswordCaption"})
        findChild<QLabel*>(QLatin1String(name))->setVisible(multi);
    if (multi)
        grdExamList->setGeometry(17, 186, kWidth - 34, 143);
    else
        grdExamList->setGeometry(17, 107, kWidth - 34, 221);
    // Last, so that a missing picture leaves the layout done.
    const QString pictureFile = programFile(gLogin.gIconPath + picture);
    const QPixmap background(pictureFile);
    if (background.isNull())
        throw MissingFileError(MissingFileError::Picture, pictureFile);
    Picture1->setPixmap(background);
}

void frmDBSel::ReadRegistaryTOFillForm()
{
    try {
        txtUser->setText(lastUserLogin());
    } catch (const std::exception&) {
        debugLine(QStringLiteral("Error opening sysinfo ! : ReadRegistaryTOFillForm : frmDBSel "));
    }
}

bool frmDBSel::ReadDataDir()
{
    debugLine(QStringLiteral("Entering: ReadDataDir : frmDBSel "));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        const int defaultUserCode = clearDefaultUser();
        const std::vector<ListedExam> exams = listedExams();
        for (const ListedExam& exam : exams) {
            InsertForDefaultUSer(defaultUserCode, exam.code);
            if (gStartup.gDebug == 1)
                WriteLog(QStringLiteral("Filling Grid: ReadDataDir : frmDBSel ") + logDate() + QStringLiteral(": ")
                         + exam.description);
            const int row = grdExamList->rowCount();
            grdExamList->insertRow(row);
            grdExamList->setItem(row, 0, new QTableWidgetItem(exam.code));
            grdExamList->setItem(row, 1, new QTableWidgetItem(exam.description));
            grdExamList->setItem(row, 2, new QTableWidgetItem(exam.path));
        }
        if (grdExamList->rowCount() > 0)
            grdExamList->selectRow(0);
        QApplication::restoreOverrideCursor();
        debugLine(QStringLiteral("Completed :ReadDataDir: frmDBSel "));
        return true;
    } catch (const std::exception& error) {
        QApplication::restoreOverrideCursor();
        if (gStartup.gDebug == 1)
            WriteLog(QString::fromUtf8(error.what()) + QStringLiteral(" : ReadDataDir : frmDBSel ") + logDate());
        ShowMessage(loadProblemText(error), gLogin.gAppName, OneButton, this);
        return false;
    }
}

void frmDBSel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Form_Activate();
}

void frmDBSel::Form_Activate()
{
    debugLine(QStringLiteral("Enter Form_Activate: frmDBSel "));
    if (!gStartup.gMultiUser) {
        txtPassWord->setText(gStartup.gDefaultPassword);
        txtUser->setText(gStartup.gDefaultLoginId);
        grdExamList->setFocus();
    } else if (txtUser->text().isEmpty()) {
        txtUser->setFocus();
    } else {
        txtPassWord->setFocus();
    }
    debugLine(QStringLiteral("Reached here! : Form_Activate : frmDBSel "));
}

bool frmDBSel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (watched == txtPassWord) {
            debugLine(QStringLiteral("Logining into the system : txtPassword_KeyPress : frmDBSel "));
            if (enter) {
                cmdLogin_Click();
                return true;
            }
        } else if (watched == grdExamList && enter) {
            grdExamList_DblClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmDBSel::Image1_Click()
{
    debugLine(QStringLiteral("Logining into the system : Image1_Click : frmDBSel "));
    if (!loginDone())
        cmdLogin_Click();
}

void frmDBSel::Command1_Click()
{
    debugLine(QStringLiteral("Calling login :cmdLogin_Click: frmDBSel "));
    cmdLogin_Click();
}

void frmDBSel::grdExamList_DblClick()
{
    debugLine(QStringLiteral("Logining into the system : grdExamList_DblClick: frmDBSel "));
    cmdLogin_Click();
}

void frmDBSel::Image3_Click()
{
    close();
}

void frmDBSel::closeEvent(QCloseEvent* event)
{
    debugLine(QStringLiteral("Unloading form : form_unload: frmDBSel "));
    event->accept();
    // Closing the login window ends the whole program; the windows closed
    // on the way ask nothing.
    setProgramEnding(true);
    QApplication::closeAllWindows();
    QApplication::quit();
}

void frmDBSel::selectedExam(QString& code, QString& description, QString& path) const
{
    const int row = grdExamList->currentRow();
    auto cell = [this, row](int column) {
        const QTableWidgetItem* item = grdExamList->item(row, column);
        return item ? item->text() : QString();
    };
    code = cell(0);
    description = cell(1);
    path = cell(2);
}

// The login-done marker is the password box's background: blue once a
// login has succeeded, for the rest of the run.
void frmDBSel::setLoginDoneMarker()
{
    QPalette palette = txtPassWord->palette();
    palette.setColor(QPalette::Base, kLoginDoneColour);
    palette.setColor(QPalette::Text, Qt::white);
    txtPassWord->setPalette(palette);
}

bool frmDBSel::loginDone() const
{
    return txtPassWord->palette().color(QPalette::Base) == kLoginDoneColour;
}

void frmDBSel::refuse(const QString& message)
{
    ShowMessage(message, gLogin.gAppName, OneButton, this);
}

void frmDBSel::cmdLogin_Click()
{
    debugLine(QStringLiteral("Enter Login Click event : cmdLogin_Click : frmDBSel "));
    txtUser->setReadOnly(false);
    txtPassWord->setReadOnly(false);

    if (grdExamList->currentRow() < 0 || grdExamList->rowCount() == 0) {
        debugLine(QStringLiteral("No valid exams in the data folder exam to proceed: cmdLogin_Click : frmDBSel "));
        refuse(QString::fromLatin1(loginText::NoExam));
        return;
    }

    // The shared state is written before the checks, as the rest of the
    // program has always found it after a refused login.
    gLogin.gUserCode = QStringLiteral("0");
    selectedExam(gLogin.gExamCode, gLogin.gExamDesc, gLogin.gExamDbPath);
    gLogin.gLoginId = txtUser->text().trimmed().toUpper();
    gLogin.gUserPassword = txtPassWord->text().toUpper();
    gLogin.gExamConnStr = connectionString(gLogin.gExamDbPath.trimmed(), gStartup.gDbPassword);

    const LoginDecision decision = checkLogin(gLogin.gLoginId, gLogin.gUserPassword, gLogin.gExamCode);
    switch (decision.outcome) {
    case LoginOutcome::Accepted:
        break;
    case LoginOutcome::BadAdminPassword:
    case LoginOutcome::BadUserOrPassword:
        refuse(decision.message);
        txtPassWord->clear();
        txtPassWord->setFocus();
        return;
    case LoginOutcome::NoRight:
    case LoginOutcome::DatabaseError:
    case LoginOutcome::NoExamSelected:
        gLogin.gUserCode = decision.userCode;
        refuse(decision.message);
        return;
    }
    gLogin.gUserCode = decision.userCode;
    txtPassWord->clear();

    try {
        recordLastUser(gLogin.gLoginId);
    } catch (const std::exception& error) {
        WriteLog(QString::fromUtf8(error.what()) + QStringLiteral(" : cmdLogin_Click : frmDBSel ") + logDate());
    }
    setLoginDoneMarker();

    hide();
    MainWindowLink::open(gLogin.gExamDesc);
    debugLine(QStringLiteral("Finished this module: cmdLogin_Click : frmDBSel "));
}
