#include "app/WindowWiring.h"

#include "exam/frmZiduver.h"
#include "exam/links/ReturnToMainWindowLink.h"
#include "foundation/frmDBSel.h"
#include "foundation/links/MainWindowLink.h"
#include "mainwindow/frmmain.h"
#include "mainwindow/links/ExamWindowLink.h"
#include "mainwindow/links/LoginWindowLink.h"

// One line per link: the window that serves it.
void wireWindows()
{
    MainWindowLink::wire([](const QString& examDescription) { frmmain::instance().showForExam(examDescription); });
    ReturnToMainWindowLink::wire([] { frmmain::instance().showAgain(); });
    ExamWindowLink::wire(&frmZiduver::launch);
    LoginWindowLink::wire(
        [](const QString& login, const QString& password) { frmDBSel::instance().showForChangeExam(login, password); });
}
