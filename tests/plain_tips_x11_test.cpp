// Names and notes from exams and users, hovered where they are cut short:
// the tip reads them as written and never loads a picture they name.
#include "admin/windows/frmAdminPref.h"
#include "foundation/ExamBankWriter.h"
#include "foundation/SharedState.h"
#include "foundation/SystemDatabase.h"
#include "mainwindow/MainWindowShared.h"
#include "mainwindow/windows/WidgetCategoryTreeView.h"
#include "mainwindow/windows/frmmain.h"
#include "notes/windows/frmViewNote.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/ExamDbFixture.h"
#include "tests/support/NotesInstallation.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"
#include "tests/support/TempSettings.h"
#include "tests/x11_main/XvfbTestMain.h"

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTableView>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A name that, read as markup, shows a picture from outside any exam (or
// reads /dev/zero for ever), is bold, and hides an entity; long enough to be
// cut in any list.
QString hostileName(const QString& picture, const char* word)
{
    return QStringLiteral("<img src=\"%1\"><b>%2</b> &amp; ").arg(picture, QLatin1String(word))
        + QString(140, QLatin1Char('x'));
}

// A picture outside every exam's folder.
QString pictureOutside(const TempHome& home)
{
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString path = home.file(QStringLiteral("outside.png"));
    image.save(path);
    return path;
}

QLabel* shownTip()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->inherits("QTipLabel") && widget->isVisible())
            return static_cast<QLabel*>(widget);
    return nullptr;
}

// What the tip shows: its text as the label reads it, and whether a picture
// is in it.
struct TipShown {
    QString text;
    bool picture = false;
};

TipShown read(const QLabel& tip)
{
    QTextDocument document;
    const bool rich = tip.textFormat() == Qt::RichText
        || (tip.textFormat() == Qt::AutoText && Qt::mightBeRichText(tip.text()));
    if (rich)
        document.setHtml(tip.text());
    else
        document.setPlainText(tip.text());
    TipShown shown{document.toPlainText(), false};
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
            shown.picture = shown.picture || fragment.fragment().charFormat().isImageFormat();
    return shown;
}

// Rests the pointer at `at` on `target` as Qt reports it, and returns what
// the tip then shows ("" when no tip shows).
TipShown hover(QWidget* target, const QPoint& at)
{
    QToolTip::hideText();
    waitFor([] { return shownTip() == nullptr; }, 2000);
    QHelpEvent help(QEvent::ToolTip, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &help);
    if (!waitFor([] { return shownTip() != nullptr; }, 2000))
        return {};
    const TipShown shown = read(*shownTip());
    QToolTip::hideText();
    return shown;
}

TipShown hoverItem(QAbstractItemView* view, const QModelIndex& index)
{
    view->scrollTo(index);
    return hover(view->viewport(), view->visualRect(index).center());
}

void expectReadAsWritten(const TipShown& shown, const QString& written, const std::string& where)
{
    EXPECT_EQ(shown.text, written) << where;
    EXPECT_FALSE(shown.picture) << where;
}

class PlainTipsOnX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!xServerUnavailable().isEmpty())
            GTEST_SKIP() << xServerUnavailable().toStdString();
        resetStartupState();
        resetMainWindowShared();
        picture = pictureOutside(home);
    }
    void TearDown() override
    {
        QToolTip::hideText();
        settle(20);
        resetStartupState();
        resetMainWindowShared();
    }

    TempHome home;
    RecordingUiHooks ui;
    QString picture;
};

TEST_F(PlainTipsOnX11, ACategoryCutShortInTheMainWindowsTreeShowsItsNameAsWritten)
{
    gStartup.gMultiUser = true;
    gLogin.gAppName = gLogin.gAppTitle = QStringLiteral("Ziduver");
    gLogin.gLoginId = QStringLiteral("ALICE");
    gLogin.gUserCode = QStringLiteral("7");
    gLogin.gExamDesc = QStringLiteral("Exam One");
    ExamBankFixture bank;
    gLogin.gExamDbPath = bank.path();
    gLogin.gExamConnStr = bank.connectionString();
    ExamBankWriter::ExamRow exam;
    exam.code = QStringLiteral("EX1");
    exam.simulatedMinutes = 60;
    exam.simulatedPassScore = 70;
    exam.simulatedQuestions = 4;
    bank.writer().addExam(exam);
    const QString endless = hostileName(QStringLiteral("/dev/zero"), "zero");
    const QString outside = hostileName(picture, "outside");
    bank.writer().addCategory({1, endless, true});
    bank.writer().addCategory({2, outside, true});
    bank.questions(1, 4, 1).questions(5, 4, 2);

    frmmain& window = frmmain::instance();
    window.showForExam(QStringLiteral("Exam One"));
    ASSERT_TRUE(waitFor([&] { return window.isVisible(); }));
    WidgetCategoryTreeView* tree = window.tvwCategory;
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    ASSERT_EQ(tree->topLevelItem(0)->childCount(), 2);
    for (int i = 0; i < 2; ++i) {
        QTreeWidgetItem* item = tree->topLevelItem(0)->child(i);
        ASSERT_EQ(item->text(0), i == 0 ? endless : outside);
        expectReadAsWritten(hoverItem(tree, tree->indexFromItem(item)), item->text(0), "category " + std::to_string(i));
    }
    frmmain::unload();
    settle(20);
}

TEST_F(PlainTipsOnX11, TheNotesBrowsersTreeAndListShowAnExamsNamesAndAStudentsNoteAsWritten)
{
    gLogin.gAppName = QStringLiteral("Ziduver");
    gMain.gFontFace = QStringLiteral("DejaVu Sans");
    NotesInstallation db(home);
    const QString category = hostileName(picture, "category");
    ExamBankWriter(db.one()).addCategory({3, category, false});
    const QString note = hostileName(QStringLiteral("/dev/zero"), "note");
    db.note(db.one(), db.alice, 101, note + QStringLiteral("\r\nthe second line"));
    db.logInAs(QStringLiteral("Admin"), 0);

    frmViewNote window;
    window.show();
    ASSERT_TRUE(waitFor([&] { return window.isVisible(); }));
    const QList<QTreeWidgetItem*> found = window.grdChapters->findItems(category, Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    expectReadAsWritten(hoverItem(window.grdChapters, window.grdChapters->indexFromItem(found.front())), category,
                        "tree");

    window.grdChapters->setCurrentItem(window.grdChapters->topLevelItem(0));
    QAbstractItemModel* notes = window.grdViewNotes->model();
    int row = 0;
    while (row < notes->rowCount() && notes->index(row, 2).data().toString() != note)
        ++row;
    ASSERT_LT(row, notes->rowCount());
    // The list shows the first line; the tip the whole note.
    expectReadAsWritten(hoverItem(window.grdViewNotes, notes->index(row, 2)), note + QStringLiteral("\nthe second line"),
                        "list");
}

TEST_F(PlainTipsOnX11, TheAdministrationListsAndTheAttachBoxesShowNamesAsWritten)
{
    TempSettings settings;
    ExamDbFixture fixture(home);
    gLogin.gAppName = QStringLiteral("Ziduver Test");
    gLogin.gLoginId = QStringLiteral("ADMIN");
    gLogin.gUserCode = QStringLiteral("0");
    db::Connection system = fixture.openSystem();
    SystemDatabase rows(system);
    rows.addUser({QStringLiteral("Admin"), QStringLiteral("ADMIN")});
    const QString first = hostileName(picture, "first");
    rows.addUser({QStringLiteral("ann"), QStringLiteral("pa"), first});
    ExamDbOptions options;
    options.examCode = hostileName(picture, "code");
    options.examName = hostileName(QStringLiteral("/dev/zero"), "description");
    const QString path = fixture.createExam(QStringLiteral("Data/a/a.qzr"), options);
    rows.addExam(path, options.examCode, options.examName);

    struct Case {
        const char* where;
        int tab;
        std::function<TipShown(frmAdminPref&)> hover;
        QString written;
    };
    const auto firstRow = [](QAbstractItemView* view, int column) {
        return hoverItem(view, view->model()->index(0, column));
    };
    const Case cases[] = {
        {"users' list", 0, [&](frmAdminPref& w) { return firstRow(w.flexUser, 1); }, first},
        {"rights list", 0, [&](frmAdminPref& w) { return firstRow(w.grdPermission, 0); }, options.examCode},
        {"exams' list: code", 2, [&](frmAdminPref& w) { return firstRow(w.grdListExams, 0); }, options.examCode},
        {"exams' list: description", 2, [&](frmAdminPref& w) { return firstRow(w.grdListExams, 1); },
         options.examName},
        {"users of an exam", 2, [&](frmAdminPref& w) { return firstRow(w.grdUserList, 0); },
         first + QStringLiteral("[ ann ]")},
        {"Exam Code box", 2,
         [&](frmAdminPref& w) { return hover(w.lblExamCode, w.lblExamCode->rect().center()); }, options.examCode},
        {"Description box", 2,
         [&](frmAdminPref& w) { return hover(w.lblExamDesc, w.lblExamDesc->rect().center()); }, options.examName},
    };

    bool ran = false;
    QTimer::singleShot(0, [&] {
        frmAdminPref* window = frmAdminPref::current();
        if (!window) {
            ADD_FAILURE() << "the window did not load: " << ui.messageTexts().join('|').toStdString();
            return;
        }
        for (const Case& c : cases) {
            window->tabPreference->setCurrentIndex(c.tab);
            settle(40);
            expectReadAsWritten(c.hover(*window), c.written, c.where);
        }
        ran = true;
        window->done(QDialog::Rejected);
    });
    frmAdminPref::showModal(nullptr);
    EXPECT_TRUE(ran);
    settle(20);
}

} // namespace
