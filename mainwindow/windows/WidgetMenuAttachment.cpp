#include "mainwindow/windows/WidgetMenuAttachment.h"

#include "mainwindow/MainWindowShared.h"
#include "mainwindow/QuestionFont.h"
#include "mainwindow/windows/WidgetDrawnMenu.h"
#include "mainwindow/windows/WidgetMenuCommands.h"
#include "mainwindow/windows/frmmain.h"

void attachDrawnMenu(frmmain& window)
{
    // The font window's stored choice outlives the program and Change Exam.
    applyStoredQuestionFont();

    // A window loaded again gets its menu afresh.
    for (WidgetDrawnMenu* old : window.findChildren<WidgetDrawnMenu*>())
        delete old;

    const frmmain::MenuInputs load = window.menuInputs();
    DrawnMenuSetup setup;
    setup.inputs.clearHistoryEnabled = load.clearHistoryEnabled;
    setup.inputs.adminPreferencesEnabled = load.adminPreferencesEnabled;
    setup.inputs.showAdminPref = load.showAdminPref;
    setup.inputs.hasLearningObjectives = load.learningObjectives;
    setup.inputs.hasWebLinks = load.webLinks;
    setup.inputs.hasComment = load.examComment;
    setup.look = {load.foreColor, load.foreColorSelected, load.fontFace};
    setup.pullDownPicture = window.pullDownPicture();
    setup.rowIcon = window.rowIconPicture();
    setup.productId = gMain.gProductId;
    setup.productVersion = gMain.gProductVersion;
    setup.unloadForChangeExam = [] { frmmain::unload(); };
    frmmain* const host = &window;
    setup.endProgram = [host] { host->endProgram(); };

    WidgetDrawnMenu* menu = WidgetDrawnMenu::attach(window.menuArea(), QPoint(8, 2), setup);
    window.clearHistoryCommand = [host] { mnuclearHistory_Click(host); };
    QObject::connect(&window, &frmmain::unloading, menu, [menu] { menu->storeFavourites(); });
    QObject::connect(&window, &frmmain::freeAreaHovered, menu, &WidgetDrawnMenu::hideMenu);
}
