#include "app/WindowWiring.h"

#include "foundation/SharedState.h"
#include "foundation/WindowLinks.h"
#include "exam/frmZiduver.h"
#include "foundation/frmDBSel.h"
#include "mainwindow/frmmain.h"

#include <QLabel>
#include <QLineEdit>

void wireWindows()
{
    WindowLinks& links = windowLinks();
    links.showMainWindow = [](const QString& examDescription) {
        frmmain& window = frmmain::instance();
        window.lblExamName->setText(examDescription);
        window.setWindowTitle(gLogin.gAppTitle);
        window.show();
        window.raise();
        window.activateWindow();
    };
    links.returnToMainWindow = [] {
        frmmain& window = frmmain::instance();
        window.show();
        window.raise();
        window.activateWindow();
    };
    links.showExamWindow = [](const ExamParameters& record) { frmZiduver::launch(record); };
    links.showLoginWindow = [] {
        frmDBSel& login = frmDBSel::instance();
        login.show();
        login.raise();
        login.activateWindow();
        // Change Exam hands the current user back to the login window.
        login.txtUser->setText(gLogin.gLoginId);
        login.txtPassWord->setText(gLogin.gUserPassword);
        login.txtUser->setReadOnly(true);
        login.txtPassWord->setReadOnly(true);
    };
}
