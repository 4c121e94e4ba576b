#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
template <typename Window> class DefaultInstance;

// The login window: the list of attached exams, login and password. It is
// loaded once and stays loaded (hidden) for the whole run; closing it ends
// the program.
class frmDBSel : public QWidget {
    Q_OBJECT
public:
    // The one instance, created on first use.
    static frmDBSel& instance();
    static bool exists();
    // Loads and shows the login window at start. False when the load found
    // that the program cannot go on (it has told the user why).
    static bool showLogin();
    // Shows the window again as it was left (list and login-done marker
    // kept) with a user handed back: the login and password boxes hold them
    // and are read-only ("Change Exam").
    void showForChangeExam(const QString& login, const QString& password);
    // Shows the window as at the start, after a login whose exam could not be
    // loaded: the boxes editable, the password empty, no login done.
    void showAsAtStart();

    // Set by the administration window before it shows the login window again.
    QString Relogin;

    QLineEdit* txtUser;
    QLineEdit* txtPassWord;
    QTableWidget* grdExamList;
    QPushButton* image1;
    QPushButton* Command1;
    QPushButton* Image3;
    QLabel* Picture1;
    QLabel* Label1;
    QLabel* LBLNetWork;
    QCheckBox* Check1;

    // The login (from every way to log in).
    void cmdLogin_Click();
    bool loginDone() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class DefaultInstance<frmDBSel>;
    frmDBSel();
    // False when the program must end.
    bool Form_Load();
    void Form_Activate();
    bool ReadDataDir();
    void ReadRegistaryTOFillForm();
    void layoutForMode();
    void Image1_Click();
    void Command1_Click();
    void grdExamList_DblClick();
    void Image3_Click();
    void selectedExam(QString& code, QString& description, QString& path) const;
    void refuse(const QString& message);
    void setLoginDoneMarker();
};
