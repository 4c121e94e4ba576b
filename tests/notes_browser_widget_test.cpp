#include "foundation/ExamBankWriter.h"
#include "foundation/ProgramEnd.h"
#include "foundation/SharedState.h"
#include "foundation/UserWrite.h"
#include "mainwindow/links/NotesBrowserLink.h"
#include "notes/NoteStore.h"
#include "notes/NotesGridModel.h"
#include "notes/windows/frmEditNote.h"
#include "notes/windows/frmNotePrinter.h"
#include "notes/windows/frmViewNote.h"
#include "platform/browser/BrowserView.h"
#include "platform/browser/PagePrinter.h"
#include "platform/ui/WholeTextTips.h"
#include "tests/support/EventWaits.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/ModalDialogWaits.h"
#include "tests/support/NotesInstallation.h"
#include "tests/support/PdfPrinterSource.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr int kWait = 30000;
const QString kTitle = QStringLiteral("Ziduver Notes");
// The main window's question font, handed to the browser.
const QString kPrintFont = QStringLiteral("DejaVu Sans");

// The notes browser's dialogs are given longer to show (their pages load).
template <typename Window> void whenPageDialogShown(std::function<void(Window&)> action)
{
    whenShown<Window>(std::move(action), nullptr, 500);
}

void doubleClickRow(QTableView* grid, int row)
{
    doubleClickAt(grid->viewport(), grid->visualRect(grid->model()->index(row, 0)).center());
}

QTreeWidgetItem* findNode(QTreeWidget* tree, const QString& exam, const QString& text)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = tree->topLevelItem(i);
        if (top->text(0) != exam)
            continue;
        if (text == exam)
            return top;
        const QList<QTreeWidgetItem*> found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        for (QTreeWidgetItem* item : found) {
            QTreeWidgetItem* root = item;
            while (root->parent())
                root = root->parent();
            if (root == top)
                return item;
        }
    }
    ADD_FAILURE() << "no node " << text.toStdString();
    return nullptr;
}

class NotesBrowserWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gLogin.gAppName = kTitle;
        aliceOnOne = db.note(db.one(), db.alice, 101, QStringLiteral("alice 101\r\nmore of it"));
        db.note(db.one(), db.bob, 101, QStringLiteral("bob <101> & co"));
        db.note(db.one(), db.alice, 102, QStringLiteral("alice 102"));
        db.note(db.one(), db.bob, 103, QStringLiteral("bob 103"));
        db.note(db.two(), db.carol, 102, QStringLiteral("carol two 102"));
    }
    void TearDown() override
    {
        NotesBrowserLink::wire({});
        settle(20);
        resetStartupState();
    }

    std::unique_ptr<frmViewNote> open()
    {
        auto window = std::make_unique<frmViewNote>(nullptr, kPrintFont);
        window->show();
        return window;
    }
    // The question code and first line of every listed note.
    static QStringList listed(const frmViewNote& window)
    {
        QStringList rows;
        for (int row = 0; row < window.notes()->rowCount(); ++row)
            rows << window.notes()->text(row, NotesGridModel::colQuestCode) + QLatin1Char(':')
                    + window.notes()->text(row, NotesGridModel::colNotes);
        return rows;
    }
    QString storedText(qint64 noteId)
    {
        return db.one()
            .scalar(QStringLiteral("SELECT Qn_noteDesc FROM Qe_UserNotes WHERE Qn_NoteID = ?"), {noteId})
            .toString();
    }

    TempHome home;
    NotesInstallation db{home};
    RecordingUiHooks hooks;
    qint64 aliceOnOne = 0;
};

TEST_F(NotesBrowserWindowTest, TheAdministratorBrowsesEveryExamAndChoosingAUserRefreshes)
{
    db.logInAs(QStringLiteral("Admin"), 0);
    auto w = open();
    EXPECT_EQ(w->windowTitle(), kTitle + QStringLiteral(" - View Notes"));
    EXPECT_TRUE(w->cmbUser->isVisible());
    QStringList users;
    for (int i = 0; i < w->cmbUser->count(); ++i)
        users << w->cmbUser->itemText(i);
    EXPECT_EQ(users, (QStringList{"<All>", "alice", "bob", "carol"}));
    ASSERT_EQ(w->grdChapters->topLevelItemCount(), 2);
    EXPECT_EQ(w->grdChapters->topLevelItem(0)->text(0), QStringLiteral("Exam One"));
    EXPECT_TRUE(w->grdChapters->topLevelItem(0)->font(0).bold());
    EXPECT_TRUE(w->grdChapters->topLevelItem(0)->isExpanded());
    EXPECT_EQ(w->grdChapters->topLevelItem(1)->text(0), QStringLiteral("Net-Plus"));
    EXPECT_EQ(w->grdChapters->currentItem(), w->grdChapters->topLevelItem(0));
    EXPECT_EQ(listed(*w), (QStringList{"101:alice 101", "101:bob <101> & co", "102:alice 102", "103:bob 103"}));
    EXPECT_TRUE(w->grdViewNotes->isColumnHidden(NotesGridModel::colNoteId));
    EXPECT_TRUE(w->grdViewNotes->isColumnHidden(NotesGridModel::colWholeNote));
    EXPECT_FALSE(w->grdViewNotes->isColumnHidden(NotesGridModel::colNotes));

    w->cmbUser->setCurrentIndex(2); // bob
    EXPECT_EQ(listed(*w), (QStringList{"101:bob <101> & co", "103:bob 103"}));
    w->grdChapters->setCurrentItem(findNode(w->grdChapters, QStringLiteral("Exam One"), QStringLiteral("Static")));
    EXPECT_EQ(listed(*w), QStringList{});
    w->cmbUser->setCurrentIndex(0);
    EXPECT_EQ(listed(*w), QStringList{"102:alice 102"});
    w->grdChapters->setCurrentItem(findNode(w->grdChapters, QStringLiteral("Net-Plus"), QStringLiteral("Copper")));
    EXPECT_EQ(listed(*w), QStringList{"102:carol two 102"});
    EXPECT_EQ(w->notes()->text(0, NotesGridModel::colPath), db.twoPath);
    EXPECT_TRUE(hooks.messages().empty());
    EXPECT_EQ(hooks.busyDepth(), 0);
}

TEST_F(NotesBrowserWindowTest, BesideLongNamesANotesLineReadsWholeAndItsTipHoldsTheWholeNote)
{
    ExamBankWriter(db.one()).addCategory(
        {3, QStringLiteral("Routing protocols of every kind, interior and exterior, with their timers"), false});
    const QString firstLine = QStringLiteral("Static routes win over OSPF by distance");
    db.note(db.one(), db.alice, 201, firstLine + QStringLiteral("\r\nunless the distance is set"));
    db.note(db.one(), db.alice, 103, QStringLiteral("One line only"));
    db.logInAs(QStringLiteral("alice"), db.alice);
    auto w = open();
    settle();
    w->grdChapters->setCurrentItem(w->grdChapters->topLevelItem(0));
    settle();
    QAbstractItemModel* notes = w->grdViewNotes->model();
    ASSERT_EQ(listed(*w), (QStringList{"101:alice 101", "102:alice 102", "201:" + firstLine, "103:One line only"}));
    const QModelIndex first = notes->index(2, NotesGridModel::colNotes);
    EXPECT_FALSE(textIsCut(w->grdViewNotes, first)) << "the notes keep their share beside the wide tree";
    EXPECT_GE(w->grdViewNotes->width(), w->grdChapters->width());
    EXPECT_EQ(first.data(Qt::ToolTipRole).toString(), firstLine + QStringLiteral("\r\nunless the distance is set"));
    EXPECT_FALSE(notes->index(3, NotesGridModel::colNotes).data(Qt::ToolTipRole).isValid())
        << "a note of one line that reads whole needs no tip";
}

TEST_F(NotesBrowserWindowTest, AUserSeesHisExamAndHisNotesOnly)
{
    db.logInAs(QStringLiteral("alice"), db.alice);
    auto w = open();
    EXPECT_FALSE(w->cmbUser->isVisible());
    ASSERT_EQ(w->grdChapters->topLevelItemCount(), 1);
    EXPECT_EQ(listed(*w), (QStringList{"101:alice 101", "102:alice 102"}));
    w->grdChapters->setCurrentItem(findNode(w->grdChapters, QStringLiteral("Exam One"), QStringLiteral("Static")));
    EXPECT_EQ(listed(*w), QStringList{"102:alice 102"});
}

TEST_F(NotesBrowserWindowTest, TheMainWindowsLinkOpensTheBrowserModally)
{
    db.logInAs(QStringLiteral("alice"), db.alice);
    NotesBrowserLink::wire(&frmViewNote::showBrowser);
    QStringList seen;
    whenPageDialogShown<frmViewNote>([&](frmViewNote& w) {
        seen = listed(w);
        w.cmdExit->click();
    });
    NotesBrowserLink::open(nullptr, kPrintFont);
    EXPECT_EQ(seen, (QStringList{"101:alice 101", "102:alice 102"}));
}

TEST_F(NotesBrowserWindowTest, EditingANoteSavesItWithItsLineBreaksAndRefreshesTheList)
{
    db.logInAs(QStringLiteral("alice"), db.alice);
    auto w = open();
    struct Seen {
        QString category, examId, path, noteId, question, text;
        bool locked = false, saveOn = true, editOn = false;
        bool unlockedByKey = false, saveOnAfterKey = false;
        bool saveOnAfterSave = true, editOnAfterSave = false;
        QStringList listedAfterSave;
    } seen;
    whenPageDialogShown<frmEditNote>([&](frmEditNote& e) {
        seen.category = e.lblCategory->text();
        seen.examId = e.lblExamID->text();
        seen.path = e.lblExamPath->text();
        seen.noteId = e.txtNoteID->text();
        seen.question = e.txtQuestion->text();
        seen.text = e.txtNoteContents->toPlainText();
        seen.locked = e.txtNoteContents->isReadOnly();
        seen.saveOn = e.cmdSave->isEnabled();
        seen.editOn = e.cmdEdit->isEnabled();
        // Typing starts editing, and the key goes into the text.
        e.txtNoteContents->moveCursor(QTextCursor::End);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(e.txtNoteContents, &key);
        seen.unlockedByKey = !e.txtNoteContents->isReadOnly();
        seen.saveOnAfterKey = e.cmdSave->isEnabled() && !e.cmdEdit->isEnabled();
        seen.text += QStringLiteral(" | ") + e.txtNoteContents->toPlainText();
        e.txtNoteContents->setPlainText(QStringLiteral("edited first\nsecond <line>"));
        e.cmdSave->click();
        seen.saveOnAfterSave = e.cmdSave->isEnabled();
        seen.editOnAfterSave = e.cmdEdit->isEnabled();
        seen.listedAfterSave = listed(*w);
        e.cmdCancel->click();
    });
    doubleClickRow(w->grdViewNotes, 0);

    EXPECT_EQ(seen.category, QStringLiteral("Exam One"));
    EXPECT_EQ(seen.examId, QStringLiteral("EX1"));
    EXPECT_EQ(seen.path, db.onePath);
    EXPECT_EQ(seen.noteId, QString::number(aliceOnOne));
    EXPECT_EQ(seen.question, QStringLiteral("101"));
    EXPECT_EQ(seen.text, QStringLiteral("alice 101\nmore of it | alice 101\nmore of itx"));
    EXPECT_TRUE(seen.locked);
    EXPECT_FALSE(seen.saveOn);
    EXPECT_TRUE(seen.editOn);
    EXPECT_TRUE(seen.unlockedByKey);
    EXPECT_TRUE(seen.saveOnAfterKey);
    EXPECT_FALSE(seen.saveOnAfterSave);
    EXPECT_TRUE(seen.editOnAfterSave);
    EXPECT_EQ(seen.listedAfterSave, (QStringList{"101:edited first", "102:alice 102"}));
    EXPECT_EQ(storedText(aliceOnOne), QStringLiteral("edited first\r\nsecond <line>"));
    EXPECT_TRUE(hooks.messages().empty());
}

TEST_F(NotesBrowserWindowTest, AFailedSaveTellsWhyAndKeepsTheTextAndSave)
{
    db.logInAs(QStringLiteral("alice"), db.alice);
    auto w = open();
    bool saveStillOn = false;
    QString kept;
    bool closedWithoutSaving = false;
    {
        FailingWrites refuse(db.onePath, QStringLiteral("Qe_UserNotes"), 0, FailingWrites::Write::Update);
        whenPageDialogShown<frmEditNote>([&](frmEditNote& e) {
            e.cmdEdit->click();
            e.txtNoteContents->setPlainText(QStringLiteral("never stored"));
            e.cmdSave->click();
            saveStillOn = e.cmdSave->isEnabled() && !e.cmdEdit->isEnabled();
            kept = e.txtNoteContents->toPlainText();
            // The unsaved text is then given up on purpose.
            hooks.answerNext(ResultDiscard);
            e.cmdCancel->click();
            closedWithoutSaving = true;
        });
        doubleClickRow(w->grdViewNotes, 0);
    }
    EXPECT_TRUE(closedWithoutSaving);
    EXPECT_TRUE(saveStillOn);
    EXPECT_EQ(kept, QStringLiteral("never stored"));
    ASSERT_EQ(hooks.messages().size(), 2u);
    EXPECT_TRUE(hooks.messages()[0].text.contains(FailingWrites::message())) << hooks.messages()[0].text.toStdString();
    EXPECT_EQ(hooks.messages()[0].title, kTitle);
    EXPECT_EQ(storedText(aliceOnOne), QStringLiteral("alice 101\r\nmore of it"));
    EXPECT_EQ(listed(*w), (QStringList{"101:alice 101", "102:alice 102"}));
}

// Close, Escape and the title bar's close with unsaved changes ask; Go Back
// keeps the window and the text, Save stores it, Discard leaves the note as
// stored. Without changes nothing is asked.
TEST_F(NotesBrowserWindowTest, ClosingTheEditorWithUnsavedChangesAsksToSaveDiscardOrGoBack)
{
    db.logInAs(QStringLiteral("alice"), db.alice);
    auto w = open();
    const QString stored = QStringLiteral("alice 101\r\nmore of it");
    const struct {
        const char* name;
        std::function<void(frmEditNote&)> close;
        std::vector<int> answers;
        int asked;
        QString storedAfter;
    } cases[] = {
        {"Close, save", [](frmEditNote& e) { e.cmdCancel->click(); }, {ResultYes}, 1, QStringLiteral("Close, save")},
        {"Close, go back, then discard", [](frmEditNote& e) { e.cmdCancel->click(); },
         {ResultNoOrCancel, ResultDiscard}, 2, stored},
        {"Escape, discard",
         [](frmEditNote& e) {
             QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QApplication::sendEvent(&e, &escape);
         },
         {ResultDiscard}, 1, stored},
        {"title bar, discard", [](frmEditNote& e) { e.close(); }, {ResultDiscard}, 1, stored},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        hooks.clear();
        for (const int answer : c.answers)
            hooks.answerNext(answer);
        bool openAfterGoBack = false;
        QString textAfterGoBack;
        bool closed = false;
        whenPageDialogShown<frmEditNote>([&](frmEditNote& e) {
            e.cmdEdit->click();
            // What the browser listed after an earlier case is what is typed now.
            e.txtNoteContents->setPlainText(QString::fromLatin1(c.name));
            if (c.answers.front() == ResultNoOrCancel) {
                e.cmdCancel->click();
                openAfterGoBack = e.isVisible();
                textAfterGoBack = e.txtNoteContents->toPlainText();
            }
            c.close(e);
            closed = !e.isVisible();
            if (!closed)
                e.done(0);
        });
        doubleClickRow(w->grdViewNotes, 0);
        EXPECT_TRUE(closed);
        EXPECT_EQ(hooks.messages().size(), size_t(c.asked));
        for (const auto& m : hooks.messages())
            EXPECT_EQ(m.style, SaveDiscardCancel);
        if (c.answers.front() == ResultNoOrCancel) {
            EXPECT_TRUE(openAfterGoBack);
            EXPECT_EQ(textAfterGoBack, QString::fromLatin1(c.name));
        }
        EXPECT_EQ(storedText(aliceOnOne), c.storedAfter);
        QString message;
        ASSERT_TRUE(notestore::updateNoteText(db.onePath, gStartup.gDbPassword,
                                              UserAccount{gLogin.gUserCode.toInt(), gStartup.gSysConnStr}, aliceOnOne,
                                              QStringLiteral("alice 101\nmore of it"), message));
    }

    // Saved, or never changed: Close closes without a word.
    hooks.clear();
    bool closed = false;
    whenPageDialogShown<frmEditNote>([&](frmEditNote& e) {
        e.cmdEdit->click();
        e.txtNoteContents->setPlainText(QStringLiteral("saved first"));
        e.cmdSave->click();
        e.cmdCancel->click();
        closed = !e.isVisible();
        if (!closed)
            e.done(0);
    });
    doubleClickRow(w->grdViewNotes, 0);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(hooks.messages().empty());
}

// The program's end saves an unsaved edit as Save would and closes the
// editor without asking; a save that fails is logged, nobody is asked.
TEST_F(NotesBrowserWindowTest, TheProgramsEndSavesAnUnsavedEditAndAsksNothing)
{
    db.logInAs(QStringLiteral("alice"), db.alice);
    auto w = open();
    for (const bool failing : {false, true}) {
        SCOPED_TRACE(failing ? "a failing save" : "a save");
        hooks.clear();
        std::optional<FailingWrites> refuse;
        if (failing)
            refuse.emplace(db.onePath, QStringLiteral("Qe_UserNotes"), 0, FailingWrites::Write::Update);
        bool closed = false;
        whenPageDialogShown<frmEditNote>([&](frmEditNote& e) {
            e.cmdEdit->click();
            e.txtNoteContents->setPlainText(failing ? QStringLiteral("never stored")
                                                    : QStringLiteral("typed as the\nprogram ended"));
            setProgramEnding(true);
            runEndingSaves();
            e.close();
            closed = !e.isVisible();
            if (!closed)
                e.done(0);
        });
        doubleClickRow(w->grdViewNotes, 0);
        setProgramEnding(false);
        refuse.reset();
        EXPECT_TRUE(closed);
        EXPECT_TRUE(hooks.messages().empty());
        EXPECT_EQ(storedText(aliceOnOne), QStringLiteral("typed as the\r\nprogram ended"));
    }
}

TEST_F(NotesBrowserWindowTest, ExportingAnEmptyListSaysSo)
{
    db.logInAs(QStringLiteral("carol"), db.carol);
    auto w = open();
    ASSERT_EQ(w->notes()->rowCount(), 0);
    w->cmdViewCurrent->click();
    EXPECT_EQ(hooks.messageTexts(), QStringList{"Notes not available"});
    EXPECT_EQ(QApplication::activeModalWidget(), w.get()) << "no printer opened";
}

TEST_F(NotesBrowserWindowTest, ExportPrintsTheListedNotesOfEveryUserToPdf)
{
    PdfPrinterSource pdf(home.file("notes.pdf"));
    db.logInAs(QStringLiteral("Admin"), 0);
    auto w = open();
    w->grdChapters->setCurrentItem(findNode(w->grdChapters, QStringLiteral("Exam One"), QStringLiteral("Routing")));
    w->chkPrintQA->setChecked(true);
    QString page, shown, title;
    bool printOn = false, printed = false;
    int asked = -1;
    whenPageDialogShown<frmNotePrinter>([&](frmNotePrinter& p) {
        title = p.windowTitle();
        if (!waitFor([&] { return p.reportDone(); }, kWait) || !p.www1->waitForLoad(kWait)) {
            ADD_FAILURE() << "no page";
            p.Command2->click();
            return;
        }
        page = p.pageHtml();
        shown = p.www1->runScript(QStringLiteral("document.body.innerText"), kWait).toString();
        printOn = p.Command1->isEnabled();
        p.Command1->click();
        printed = waitFor([&] { return !p.printing(); }, kWait);
        asked = pdf.asked;
        p.Command2->click();
    });
    w->cmdViewCurrent->click();

    EXPECT_EQ(title, kTitle + QStringLiteral(" - Print Notes"));
    EXPECT_TRUE(printOn);
    // Every user's notes listed under the category, in the order listed.
    for (const char* text : {"alice 101", "bob <101> & co", "alice 102", "bob 103"})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(text))) << text << "\n" << shown.toStdString();
    EXPECT_EQ(page.count(QStringLiteral("<b>Note:</b>")), 4);
    EXPECT_TRUE(page.contains(QStringLiteral("<font face=\"DejaVu Sans\" size=2>")));
    EXPECT_TRUE(printed);
    EXPECT_EQ(asked, 1) << "no default printer: the print dialog";
    EXPECT_GE(pdfPageCount(home.file("notes.pdf")), 1);
    // A text PDF: the notes' words are in it.
    const QString text = pdfText(home.file("notes.pdf")).simplified();
    ASSERT_FALSE(text.isNull()) << "pdftotext is missing (tools/install-deps.sh installs it)";
    EXPECT_TRUE(text.contains("bob <101> & co")) << text.toStdString();
    EXPECT_TRUE(hooks.messages().empty()) << hooks.messageTexts().join(QLatin1Char('|')).toStdString();
}

TEST_F(NotesBrowserWindowTest, PrinterWithNothingToPrintSaysSoAndKeepsCloseOn)
{
    PdfPrinterSource pdf(home.file("direct.pdf"));
    notesreport::NotesReportRequest request;
    request.examPath = db.onePath;
    request.userCode = db.carol; // no notes in Exam One
    request.questCodes = {101, 102};
    {
        frmNotePrinter printer(request);
        printer.show();
        ASSERT_TRUE(waitFor([&] { return printer.reportDone(); }, kWait));
        EXPECT_TRUE(printer.noQuestions());
        EXPECT_EQ(hooks.messageTexts(), QStringList{"No Questions available"});
        EXPECT_TRUE(printer.Command2->isEnabled());
        EXPECT_FALSE(printer.Command1->isEnabled());
        EXPECT_TRUE(printer.pageHtml().isEmpty());
    }

    // The next run starts afresh; with a default printer it prints unasked.
    hooks.clear();
    pdf.defaultPrinter = true;
    QPrinter& programs = PagePrinter::program().printer();
    programs.setOutputFormat(QPrinter::PdfFormat);
    programs.setOutputFileName(home.file("direct.pdf"));
    request.userCode = db.alice;
    frmNotePrinter printer(request);
    printer.show();
    ASSERT_TRUE(waitFor([&] { return printer.reportDone(); }, kWait));
    EXPECT_FALSE(printer.noQuestions());
    ASSERT_TRUE(printer.www1->waitForLoad(kWait));
    printer.Command1->click();
    ASSERT_TRUE(waitFor([&] { return !printer.printing(); }, kWait));
    EXPECT_EQ(pdf.asked, 0);
    EXPECT_GE(pdfPageCount(home.file("direct.pdf")), 1);
    EXPECT_TRUE(hooks.messages().empty());
}

} // namespace
