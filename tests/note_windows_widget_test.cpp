#include "exam/links/AddNoteLink.h"
#include "exam/links/PreviousNotesLink.h"
#include "foundation/ProgramEnd.h"
#include "foundation/SharedState.h"
#include "foundation/UserNotesTable.h"
#include "foundation/WindowTag.h"
#include "notes/windows/frmPreviousNotes.h"
#include "notes/windows/frmaddNote.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/ModalDialogWaits.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/SystemAccounts.h"
#include "tests/support/TempHome.h"

#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString kTitle = QStringLiteral("Ziduver Notes");
constexpr int kUser = 5;

void doubleClick(QWidget* widget)
{
    doubleClickAt(widget, QPoint(10, 10));
}

// What a note window showed while it was open.
struct Shown {
    QString title;
    QString tag;
    QString examId;
    QString category;
    QString chapter;
    bool chapterFrame = false;
    QString text;
    bool readOnly = false;
    QColor panel;
};

template <typename Window> Shown shownOf(Window& w, QFrame* panel, QPlainTextEdit* box)
{
    Shown s;
    s.title = w.windowTitle();
    s.tag = windowTag(&w);
    s.examId = w.lblExamID->text();
    s.category = w.lblCategory->text();
    s.chapter = w.lblChapter->text();
    s.chapterFrame = !w.Line1->isHidden() && !w.Line2->isHidden() && !w.Shape1->isHidden();
    s.text = box->toPlainText();
    s.readOnly = box->isReadOnly();
    // Inside the panel's margin, where no label covers it.
    s.panel = panel->grab().toImage().pixelColor(panel->width() - 5, 4);
    return s;
}

class NoteWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetStartupState();
        home.copyLook();
        gStartup.gSkinFile = QStringLiteral("Skin/Ziduver.qss");
        gLogin.gIconPath = QStringLiteral("Icons");
        gLogin.gAppName = kTitle;
        AddNoteLink::wire(&frmaddNote::open);
        PreviousNotesLink::wire(&frmPreviousNotes::open);
        bank.writer().addCategory({3, QStringLiteral("Routing & Switching"), false});
        bank.writer().addChapter({30, 3, QStringLiteral("Chapter's one"), false});
        bank.question(41, 3, 1, 30).question(42, 3, 1, 0);

        request.launch.gQuizConnStr = bank.connectionString();
        request.launch.gQuizUserCode = kUser;
        request.launch.gQuizSysConnStr = accounts.connectionString();
        request.launch.gAppTitle = kTitle;
        request.questCode = 41;
        request.examName = QStringLiteral("Exam One");
        request.tag = QStringLiteral("L");
    }
    void TearDown() override
    {
        AddNoteLink::wire({});
        PreviousNotesLink::wire({});
        settle(20);
        resetStartupState();
    }

    // "user|question|date|text" per stored row, by key.
    QStringList storedRows()
    {
        QStringList rows;
        for (const db::Row& row : bank.conn().query(QStringLiteral(
                 "SELECT Qn_UserCode, Qn_QuestCode, Qn_ExamDate, Qn_noteDesc FROM Qe_UserNotes ORDER BY Qn_NoteID")))
            rows << QStringList{row.text(0), row.text(1), row.text(2), row.text(3)}.join(QLatin1Char('|'));
        return rows;
    }

    TempHome home;
    ExamBankFixture bank;
    SystemAccounts accounts{kUser};
    RecordingUiHooks hooks;
    NoteWindowRequest request;
};

TEST_F(NoteWindows, AddNoteOpensWithTheRequestsTextsAndSavesForTheUserAndQuestion)
{
    request.categorySuffix = QStringLiteral(" - 3");
    request.chapterSuffix = QStringLiteral(" - 30");
    Shown shown;
    bool closed = false;
    whenShown<frmaddNote>([&](frmaddNote& w) {
        shown = shownOf(w, w.Picture1, w.txtNoteContents);
        w.txtNoteContents->setPlainText(QStringLiteral("  It's the router\nsecond line"));
        w.Command1->click();
        closed = !w.isVisible();
        if (!closed)
            w.reject();
    });
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    AddNoteLink::open(request, nullptr);

    EXPECT_TRUE(closed) << "a saved note closes the window";
    EXPECT_EQ(shown.title, kTitle);
    EXPECT_EQ(shown.tag, QStringLiteral("L"));
    EXPECT_EQ(shown.examId, QStringLiteral("Exam - Exam One"));
    EXPECT_EQ(shown.category, QStringLiteral("Routing & Switching - 3"));
    EXPECT_EQ(shown.chapter, QStringLiteral("Chapter's one - 30"));
    EXPECT_TRUE(shown.chapterFrame);
    EXPECT_EQ(shown.text, QString());
    EXPECT_FALSE(shown.readOnly);
    EXPECT_EQ(shown.panel, QColor(239, 239, 239)) << shown.panel.name().toStdString();
    const QStringList rows = storedRows();
    ASSERT_EQ(rows.size(), 1);
    // Saved the day the test started or, past midnight, the next.
    const QString expected = QStringLiteral("5|41|%1|  It's the router\r\nsecond line");
    EXPECT_TRUE(rows[0] == expected.arg(today) || rows[0] == expected.arg(QDate::currentDate().toString(Qt::ISODate)))
        << rows[0].toStdString();
    EXPECT_TRUE(hooks.messages().empty());
}

TEST_F(NoteWindows, EmptyNoteIsRefusedAndTheWindowKeepsItsText)
{
    bool stillOpen = false;
    QString kept;
    whenShown<frmaddNote>([&](frmaddNote& w) {
        w.txtNoteContents->setPlainText(QStringLiteral("  \n\t "));
        w.Command1->click();
        stillOpen = w.isVisible();
        kept = w.txtNoteContents->toPlainText();
        w.Command2->click();
    });
    AddNoteLink::open(request, nullptr);

    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(kept, QStringLiteral("  \n\t "));
    ASSERT_EQ(hooks.messages().size(), 1u);
    EXPECT_EQ(hooks.messages()[0].text, QStringLiteral("Note should not be empty"));
    EXPECT_EQ(hooks.messages()[0].title, kTitle);
    EXPECT_TRUE(storedRows().isEmpty());
}

TEST_F(NoteWindows, ClosingATaggedWindowFromOutsideSavesNothing)
{
    bool closed = false;
    whenShown<frmaddNote>([&](frmaddNote& w) {
        w.txtNoteContents->setPlainText(QStringLiteral("typed, never saved"));
        // What time-over does to every window tagged "L".
        for (QWidget* top : QApplication::topLevelWidgets())
            if (windowTag(top) == QStringLiteral("L"))
                if (auto* dialog = qobject_cast<QDialog*>(top))
                    dialog->done(0);
        closed = true;
    });
    AddNoteLink::open(request, nullptr);

    EXPECT_TRUE(closed);
    EXPECT_TRUE(storedRows().isEmpty());
}

// The program's end (a signal, the session's end) saves the typed text as
// Add Note would, asking nothing; an empty box saves nothing.
TEST_F(NoteWindows, TheProgramsEndSavesTheTypedNoteAsAddNoteWould)
{
    for (const QString& typed : {QStringLiteral("typed\nas the program ended"), QStringLiteral("  ")}) {
        SCOPED_TRACE(typed.toStdString());
        bank.conn().exec(QStringLiteral("DELETE FROM Qe_UserNotes"));
        whenShown<frmaddNote>([&](frmaddNote& w) {
            w.txtNoteContents->setPlainText(typed);
            setProgramEnding(true);
            runEndingSaves();
            w.reject();
        });
        AddNoteLink::open(request, nullptr);
        setProgramEnding(false);
        const QStringList rows = storedRows();
        if (typed.trimmed().isEmpty()) {
            EXPECT_TRUE(rows.isEmpty());
        } else {
            ASSERT_EQ(rows.size(), 1);
            EXPECT_TRUE(rows[0].startsWith(QStringLiteral("5|41|"))) << rows[0].toStdString();
            EXPECT_TRUE(rows[0].endsWith(QStringLiteral("|typed\r\nas the program ended"))) << rows[0].toStdString();
        }
        EXPECT_TRUE(hooks.messages().empty());
    }
    // Once the window is gone nothing of it is saved again.
    runEndingSaves();
    EXPECT_EQ(storedRows().size(), 0);
}

TEST_F(NoteWindows, AQuestionWithoutChapterHidesTheChapterFrame)
{
    request.questCode = 42;
    request.chapterSuffix = QStringLiteral(" - 0");
    Shown shown;
    whenShown<frmaddNote>([&](frmaddNote& w) {
        shown = shownOf(w, w.Picture1, w.txtNoteContents);
        w.Command2->click();
    });
    AddNoteLink::open(request, nullptr);

    EXPECT_EQ(shown.category, QStringLiteral("Routing & Switching"));
    EXPECT_EQ(shown.chapter, QStringLiteral(" - 0")) << "the menu's code follows the empty name";
    EXPECT_FALSE(shown.chapterFrame);
}

TEST_F(NoteWindows, PreviousNoteAndDoubleClickListTheUsersEarlierNotes)
{
    UserNotesTable notes(bank.conn());
    notes.addNote(kUser, 41, QStringLiteral("first\nmore"), QDate(2024, 1, 2));
    notes.addNote(kUser, 41, QStringLiteral("second"), QDate(2024, 1, 3));
    notes.addNote(kUser + 1, 41, QStringLiteral("another user's"), QDate(2024, 1, 3));
    const QString earlier = QStringLiteral("first\nmore\n------------\nsecond\n------------\n");

    Shown fromButton, fromDoubleClick;
    QString addNoteTagMeanwhile;
    whenShown<frmaddNote>([&](frmaddNote& w) {
        whenShown<frmPreviousNotes>(
            [&](frmPreviousNotes& p) {
                fromButton = shownOf(p, p.Picture2, p.txtDisp);
                addNoteTagMeanwhile = windowTag(&w);
                p.Command1->click();
            },
            &w);
        w.cmdPrevnotes->click();

        whenShown<frmPreviousNotes>(
            [&](frmPreviousNotes& p) {
                fromDoubleClick = shownOf(p, p.Picture2, p.txtDisp);
                doubleClick(p.txtDisp->viewport());
            },
            &w);
        doubleClick(w.txtNoteContents->viewport());
        waitFor([&] { return !fromDoubleClick.title.isEmpty(); });
        // The double-click closes the earlier notes; the add-note window stays.
        waitFor([&] { return QApplication::activeModalWidget() == &w; });
        w.Command2->click();
    });
    AddNoteLink::open(request, nullptr);

    EXPECT_EQ(fromButton.title, QStringLiteral("Previous Notes for this questions"));
    EXPECT_EQ(fromButton.tag, QStringLiteral("L"));
    EXPECT_EQ(addNoteTagMeanwhile, QStringLiteral("L"));
    EXPECT_TRUE(fromButton.readOnly);
    EXPECT_EQ(fromButton.text, earlier);
    EXPECT_EQ(fromButton.category, QStringLiteral("Routing & Switching"));
    EXPECT_EQ(fromButton.chapter, QStringLiteral("Chapter's one"));
    EXPECT_EQ(fromButton.panel, QColor(239, 239, 239)) << fromButton.panel.name().toStdString();

    EXPECT_EQ(fromDoubleClick.title, QStringLiteral("Notes for this question"));
    EXPECT_EQ(fromDoubleClick.tag, QString());
    EXPECT_EQ(fromDoubleClick.text, earlier);
    EXPECT_EQ(storedRows().size(), 3) << "looking writes nothing";
}

TEST_F(NoteWindows, PreviousNotesShowTheRequestsTextReadOnly)
{
    request.notesText = QStringLiteral("note one\r\nline 2\r\n------------\r\nÜber's\r\n------------\r\n");
    Shown shown;
    bool closedByDoubleClick = false;
    whenShown<frmPreviousNotes>([&](frmPreviousNotes& p) {
        shown = shownOf(p, p.Picture2, p.txtDisp);
        p.txtDisp->setFocus();
        QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(p.txtDisp, &key);
        shown.text = p.txtDisp->toPlainText();
        doubleClick(p.txtDisp->viewport());
        closedByDoubleClick = waitFor([&] { return !p.isVisible(); }, 2000);
        if (!closedByDoubleClick)
            p.reject();
    });
    PreviousNotesLink::open(request, nullptr);

    EXPECT_TRUE(closedByDoubleClick);
    EXPECT_EQ(shown.title, QStringLiteral("Notes for this question"));
    EXPECT_EQ(shown.tag, QStringLiteral("L"));
    EXPECT_EQ(shown.examId, QStringLiteral("Exam - Exam One"));
    EXPECT_EQ(shown.category, QStringLiteral("Routing & Switching"));
    EXPECT_EQ(shown.chapter, QStringLiteral("Chapter's one"));
    EXPECT_TRUE(shown.readOnly);
    EXPECT_EQ(shown.text, QStringLiteral("note one\nline 2\n------------\nÜber's\n------------\n"))
        << "a key changes nothing";
    EXPECT_EQ(shown.panel, QColor(239, 239, 239)) << shown.panel.name().toStdString();
}

TEST_F(NoteWindows, AnExamThatCannotBeOpenedLeavesTheHeaderEmptyAndTellsWhyOnSave)
{
    request.launch.gQuizConnStr = QStringLiteral("DBQ=") + home.file(QStringLiteral("missing.qzr")) + QLatin1Char(';');
    Shown shown;
    bool stillOpen = false;
    whenShown<frmaddNote>([&](frmaddNote& w) {
        shown = shownOf(w, w.Picture1, w.txtNoteContents);
        w.txtNoteContents->setPlainText(QStringLiteral("kept"));
        w.Command1->click();
        stillOpen = w.isVisible();
        w.Command2->click();
    });
    AddNoteLink::open(request, nullptr);

    EXPECT_EQ(shown.category, QString());
    EXPECT_EQ(shown.chapter, QString());
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(hooks.messages().size(), 1u);
    EXPECT_FALSE(hooks.messages()[0].text.isEmpty());
    EXPECT_NE(hooks.messages()[0].text, QStringLiteral("Note should not be empty"));
}

} // namespace
