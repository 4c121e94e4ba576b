#include "foundation/LinkTargets.h"
#include "foundation/SharedState.h"
#include "platform/pages/PageAddress.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/RecordingLinkOpener.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/StrangeFiles.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>
#include <vector>

namespace {

class LinkTargetsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetStartupState();
        gLogin.gAppName = QStringLiteral("Ziduver");
        home.write(QStringLiteral("Docs/Guide.HTM"), "<p>guide</p>");
        home.write(QStringLiteral("ZiduverHelp.htm"), "<p>help</p>");
        home.write(QStringLiteral("Docs/run.sh"), "echo hi");
        home.write(QStringLiteral("Docs/tool.desktop"), "[Desktop Entry]");
        home.write(QStringLiteral("Docs/plain"), "a program by its mode");
        QFile::setPermissions(home.file(QStringLiteral("Docs/plain")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // Files the desktop hands to an interpreter, whatever their mode.
        home.write(QStringLiteral("Docs/app.jar"), "PK");
        home.write(QStringLiteral("Docs/start.jnlp"), "<jnlp/>");
        home.write(QStringLiteral("Docs/Tool.DESKTOP"), "[Desktop Entry]");
        home.write(QStringLiteral("Docs/setup.exe"), "MZ");
        home.write(QStringLiteral("Docs/manual.pdf"), "%PDF-1.4");
        home.write(QStringLiteral("Ziduver.QZR"), "users");
        writeIn(exam.path(), QStringLiteral("exam.htm"));
        writeIn(outside.path(), QStringLiteral("elsewhere.htm"));
        QFile::link(outside.path() + QStringLiteral("/elsewhere.htm"), home.file(QStringLiteral("Docs/linked.htm")));

        // Dropped into the exam's folder: names that lead elsewhere, programs
        // and scripts under a document's name.
        writeIn(exam.path(), QStringLiteral("doc.txt"), "notes for the exam\n");
        QFile::link(inExam(QStringLiteral("doc.txt")), inExam(QStringLiteral("run.desktop")));
        QFile::link(inExam(QStringLiteral("doc.txt")), inExam(QStringLiteral("app.jar")));
        QFile::link(QStringLiteral("/etc/passwd"), inExam(QStringLiteral("doc.pdf")));
        QFile program(QStringLiteral("/proc/self/exe")); // the head of a program, not executable by mode
        ASSERT_TRUE(program.open(QIODevice::ReadOnly));
        writeIn(exam.path(), QStringLiteral("fake.pdf"), program.read(4096));
        writeIn(exam.path(), QStringLiteral("notes.txt"), "#!/bin/sh\nrm -rf \"$HOME\"\n");
        writeIn(exam.path(), QStringLiteral("paper.pdf"),
                "%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n"
                "2 0 obj << /Type /Pages /Kids [] /Count 0 >> endobj\n"
                "trailer << /Root 1 0 R >>\n%%EOF\n");
    }
    static void writeIn(const QString& folder, const QString& name, const QByteArray& content = "<p>page</p>")
    {
        QFile file(folder + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QString inExam(const QString& name) const { return exam.path() + QLatin1Char('/') + name; }
    // The file URL of a file of the exam's folder, symbolic links resolved.
    QUrl realUrl(const QString& name) const { return QUrl::fromLocalFile(QFileInfo(inExam(name)).canonicalFilePath()); }
    QString folder() const { return home.path(); }
    QUrl fileUrl(const QString& name) const { return QUrl::fromLocalFile(home.file(name)); }

    TempHome home;
    QTemporaryDir exam;    // an exam attached from outside the program folder
    QTemporaryDir outside; // any other folder
};

struct DecisionCase {
    const char* name;
    LinkSource source;
    QString target;
    LinkDecision::Kind kind;
    QUrl url; // for Open
};

} // namespace

TEST_F(LinkTargetsTest, DecisionsPerSourceSchemeAndFile)
{
    using K = LinkDecision;
    const QString docs = home.file(QStringLiteral("Docs"));
    const std::vector<DecisionCase> cases = {
        // Scheme addresses, parsed strictly.
        {"web page", LinkSource::WebLink, "https://www.kernel.org/doc/", K::Open, QUrl("https://www.kernel.org/doc/")},
        {"http", LinkSource::WebLink, "http://example.org/a?b=c", K::Open, QUrl("http://example.org/a?b=c")},
        {"mail", LinkSource::WebLink, "mailto:support@example.org", K::Open, QUrl("mailto:support@example.org")},
        {"scheme in capitals", LinkSource::WebLink, "HTTPS://example.org/", K::Open, QUrl("https://example.org/")},
        {"blanks around", LinkSource::WebLink, "  https://example.org/  ", K::Open, QUrl("https://example.org/")},
        {"www address", LinkSource::WebLink, "www.example.org/page", K::Open, QUrl("http://www.example.org/page")},
        // A "www." text is a web page's address or nothing.
        {"www address with a port", LinkSource::WebLink, "www.example.org:8080/a", K::Open,
         QUrl("http://www.example.org:8080/a")},
        {"www text naming a scheme", LinkSource::WebLink, "www.evil-handler://attacker.example/x", K::Refuse, {}},
        {"www text naming a scheme, clicked", LinkSource::PageLink, "WWW.x-y:payload", K::Refuse, {}},
        {"www text with a user before another host", LinkSource::WebLink, "www.example.org@attacker.example/x",
         K::Refuse, {}},
        {"www favourite naming a scheme", LinkSource::Favourite, "www.evil-handler://attacker.example/x", K::Refuse,
         {}},
        {"www contact naming a scheme", LinkSource::Contact, "www.evil-handler:x", K::Refuse, {}},
        {"ftp from an exam", LinkSource::WebLink, "ftp://example.org/file", K::Refuse, {}},
        {"script from an exam", LinkSource::WebLink, "javascript:alert(1)", K::Refuse, {}},
        {"web address without host", LinkSource::WebLink, "http://", K::Refuse, {}},
        {"malformed address", LinkSource::WebLink, "http://exa mple.org/", K::Refuse, {}},
        {"ftp from setup.xml", LinkSource::Contact, "ftp://example.org/file", K::Open, QUrl("ftp://example.org/file")},
        {"contact trimmed", LinkSource::Contact, "  mailto:a@example.org ", K::Open, QUrl("mailto:a@example.org")},
        // Nothing to open.
        {"null or empty", LinkSource::WebLink, "", K::Nothing, {}},
        {"blanks only", LinkSource::WebLink, "    ", K::Nothing, {}},
        {"empty help", LinkSource::Help, "", K::Nothing, {}},
        {"empty favourite", LinkSource::Favourite, "", K::Nothing, {}},
        // Local documents, found in any case, "\" read as "/".
        {"program folder token", LinkSource::WebLink, "[localpath]Docs/Guide.HTM", K::ShowPage, fileUrl("Docs/Guide.HTM")},
        {"token, other case of the file", LinkSource::WebLink, "[localpath]docs\\guide.htm", K::ShowPage,
         fileUrl("Docs/Guide.HTM")},
        {"token in capitals is not replaced", LinkSource::WebLink, "[LOCALPATH]Docs/Guide.HTM", K::Refuse, {}},
        {"relative to the program folder", LinkSource::WebLink, "Docs\\Guide.htm", K::ShowPage,
         fileUrl("Docs/Guide.HTM")},
        {"absolute path", LinkSource::WebLink, docs + "/guide.htm", K::ShowPage, fileUrl("Docs/Guide.HTM")},
        {"file URL", LinkSource::WebLink, QUrl::fromLocalFile(docs + "/Guide.HTM").toString(), K::ShowPage,
         fileUrl("Docs/Guide.HTM")},
        {"missing document", LinkSource::WebLink, "[localpath]Docs/none.htm", K::Refuse, {}},
        // Programs and scripts from an exam database.
        {"shell script", LinkSource::WebLink, "[localpath]Docs/run.sh", K::Refuse, {}},
        {"desktop entry", LinkSource::WebLink, "[localpath]Docs/tool.desktop", K::Refuse, {}},
        {"executable mode", LinkSource::WebLink, "[localpath]Docs/plain", K::Refuse, {}},
        {"folder", LinkSource::WebLink, "[localpath]Docs", K::Refuse, {}},
        {"program as file URL", LinkSource::WebLink, QUrl::fromLocalFile(docs + "/run.sh").toString(), K::Refuse, {}},
        // The help file below the program folder.
        {"help", LinkSource::Help, "ZiduverHelp.htm", K::Open, fileUrl("ZiduverHelp.htm")},
        {"help, other case", LinkSource::Help, "ziduverhelp.HTM", K::Open, fileUrl("ZiduverHelp.htm")},
        {"help missing", LinkSource::Help, "Missing.htm", K::Refuse, {}},
        // A favourite opens as it is: no token replaced, no blanks trimmed.
        {"favourite", LinkSource::Favourite, "https://example.org/", K::Open, QUrl("https://example.org/")},
        {"favourite keeps the token", LinkSource::Favourite, "[localpath]Docs/Guide.HTM", K::Refuse, {}},
        {"favourite not trimmed", LinkSource::Favourite, " https://example.org/", K::Refuse, {}},
        // Only documents open from an exam: by kind, not by a list of dangers.
        {"renamed archive", LinkSource::WebLink, "[localpath]Docs/app.jar", K::Refuse, {}},
        {"web start file", LinkSource::WebLink, "[localpath]Docs/start.jnlp", K::Refuse, {}},
        {"desktop entry in capitals", LinkSource::WebLink, "[localpath]Docs/Tool.DESKTOP", K::Refuse, {}},
        {"program for a compatibility layer", LinkSource::WebLink, "[localpath]Docs/setup.exe", K::Refuse, {}},
        {"PDF document", LinkSource::WebLink, "[localpath]Docs/manual.pdf", K::Open, fileUrl("Docs/manual.pdf")},
        {"document in the exam's folder", LinkSource::WebLink, exam.path() + "/exam.htm", K::ShowPage,
         QUrl::fromLocalFile(exam.path() + "/exam.htm")},
        {"document in any other folder", LinkSource::WebLink, outside.path() + "/elsewhere.htm", K::Refuse, {}},
        {"link out of the program folder", LinkSource::WebLink, "[localpath]Docs/linked.htm", K::Refuse, {}},
        {"system file", LinkSource::WebLink, "file:///etc/passwd", K::Refuse, {}},
        {"mail with subject and body", LinkSource::WebLink, "mailto:a@example.org?subject=Hi&body=There", K::Open,
         QUrl("mailto:a@example.org?subject=Hi&body=There")},
        {"mail attaching a file", LinkSource::WebLink, "mailto:a@example.org?attach=/etc/passwd", K::Refuse, {}},
        {"mail attaching, in capitals",
         LinkSource::WebLink,
         "mailto:a@example.org?body=x&ATTACHMENT=/etc/passwd",
         K::Refuse,
         {}},
        // Links clicked in a page, as the page resolved them.
        {"page link to the web", LinkSource::PageLink, "https://example.org/", K::Open, QUrl("https://example.org/")},
        {"page link to a page file", LinkSource::PageLink,
         page_address::forFile(home.file("Docs/guide.htm")).toString(), K::ShowPage, fileUrl("Docs/Guide.HTM")},
        {"page link to the system database",
         LinkSource::PageLink,
         page_address::forFile(home.file("Ziduver.QZR")).toString(),
         K::Refuse,
         {}},
        {"page link of a made-up scheme", LinkSource::PageLink, "zidtest://hello", K::Refuse, {}},
        {"page link to a program",
         LinkSource::PageLink,
         QUrl::fromLocalFile(docs + "/run.sh").toString(),
         K::Refuse,
         {}},
        {"page link attaching a file", LinkSource::PageLink, "mailto:a@example.org?attach=/etc/passwd", K::Refuse, {}},
        // Judged and opened as the file itself: a symbolic link resolved
        // first, a document by its name and by its content.
        {"link named as a desktop entry", LinkSource::WebLink, inExam("run.desktop"), K::Open, realUrl("doc.txt")},
        {"link named as an archive", LinkSource::PageLink, page_address::forFile(inExam("app.jar")).toString(), K::Open,
         realUrl("doc.txt")},
        {"document name leading to a system file", LinkSource::WebLink, inExam("doc.pdf"), K::Refuse, {}},
        {"program named as a PDF", LinkSource::WebLink, inExam("fake.pdf"), K::Refuse, {}},
        {"script named as text", LinkSource::WebLink, inExam("notes.txt"), K::Refuse, {}},
        {"script named as text, clicked",
         LinkSource::PageLink,
         QUrl::fromLocalFile(inExam("notes.txt")).toString(),
         K::Refuse,
         {}},
        {"small PDF", LinkSource::WebLink, inExam("paper.pdf"), K::Open, realUrl("paper.pdf")},
        // Mail addresses read once; only text fields, rebuilt.
        {"mail attaching after a semicolon",
         LinkSource::WebLink,
         "mailto:a@b.example?subject=x;attach=/etc/passwd",
         K::Refuse,
         {}},
        {"mail attaching after an encoded question mark",
         LinkSource::WebLink,
         "mailto:a@b.example%3Fattach=/etc/passwd",
         K::Refuse,
         {}},
        {"mail with an encoded field separator",
         LinkSource::WebLink,
         "mailto:a@b.example?subject=x%26attach%3D%2Fetc%2Fpasswd",
         K::Refuse,
         {}},
        {"mail with an encoded field name",
         LinkSource::PageLink,
         "mailto:a@b.example?%61ttach=/etc/passwd",
         K::Refuse,
         {}},
        {"mail scheme and field in capitals",
         LinkSource::WebLink,
         "MAILTO:a@b.example?ATTACH=/etc/passwd",
         K::Refuse,
         {}},
        {"mail rebuilt from its fields", LinkSource::PageLink,
         "MAILTO:a@b.example?Subject=Hello%20there&BODY=line%0D%0Anext&cc=c%40b.example", K::Open,
         QUrl("mailto:a@b.example?subject=Hello%20there&body=line%0D%0Anext&cc=c@b.example")},
        {"mail with a line break in the subject",
         LinkSource::WebLink,
         "mailto:a@b.example?subject=x%0ABcc:e@f.example",
         K::Refuse,
         {}},
    };
    for (const DecisionCase& c : cases) {
        const LinkDecision decision = decideLinkTarget(c.target, c.source, folder(), exam.path());
        EXPECT_EQ(decision.kind, c.kind) << c.name << ": " << decision.message.toStdString();
        if (c.kind == LinkDecision::Open || c.kind == LinkDecision::ShowPage) {
            EXPECT_EQ(decision.url, c.url) << c.name << ": " << decision.url.toString().toStdString();
        }
        EXPECT_EQ(decision.message.isEmpty(), c.kind != LinkDecision::Refuse) << c.name;
    }
}

// A scenario page linked from a question, holding a script: shown in the
// program's own view with the chosen exam's folder served, the desktop
// opener never asked. A FIFO, a socket, a folder or a sparse file of 3 GB
// under a document's name is refused at once.
TEST_F(LinkTargetsTest, AnExamsPageShowsInTheProgramsViewAndStrangeFilesAreRefused)
{
    RecordingUiHooks ui;
    RecordingOpener opener;
    gLogin.gExamDbPath = inExam(QStringLiteral("exam.qzr"));
    writeIn(exam.path(), QStringLiteral("beacon.htm"), "<script>new Image().src='http://x.test/'</script><p>b</p>");
    EXPECT_TRUE(openLinkTarget(page_address::forFile(inExam(QStringLiteral("BEACON.HTM"))).toString(),
                               LinkSource::PageLink, opener, QStringLiteral("LinkClicked")));
    EXPECT_TRUE(opener.opened.empty());
    ASSERT_EQ(opener.shown.size(), 1u);
    EXPECT_EQ(opener.shown[0], realUrl(QStringLiteral("beacon.htm")));
    EXPECT_EQ(opener.shownExamFolders[0], QFileInfo(exam.path()).absoluteFilePath());

    ASSERT_TRUE(strange_files::makeFifo(inExam(QStringLiteral("fifo.pdf"))));
    ASSERT_TRUE(strange_files::makeFifo(inExam(QStringLiteral("fifo.htm"))));
    ASSERT_TRUE(QFile::link(inExam(QStringLiteral("fifo.pdf")), inExam(QStringLiteral("to-fifo.txt"))));
    ASSERT_TRUE(strange_files::makeSocket(inExam(QStringLiteral("socket.htm"))));
    ASSERT_TRUE(strange_files::makeFolder(inExam(QStringLiteral("folder.htm"))));
    ASSERT_TRUE(strange_files::makeSparse(inExam(QStringLiteral("big.pdf")), "%PDF-1.4\n"));
    ASSERT_TRUE(strange_files::makeSparse(inExam(QStringLiteral("big.htm")), "<p>big</p>"));
    FifoWatchdog watchdog(exam.path(), 3);
    for (const char* name : {"fifo.pdf", "fifo.htm", "to-fifo.txt", "socket.htm", "folder.htm", "big.pdf", "big.htm"})
        for (const LinkSource source : {LinkSource::WebLink, LinkSource::PageLink})
            EXPECT_EQ(decideLinkTarget(inExam(QLatin1String(name)), source, folder(), exam.path()).kind,
                      LinkDecision::Refuse)
                << name;
    EXPECT_FALSE(watchdog.fired()) << "a FIFO was opened in a way that waits";
    resetStartupState();
}

TEST_F(LinkTargetsTest, EveryTokenIsReplacedBeforeTrimming)
{
    EXPECT_EQ(preparedTarget(QStringLiteral(" [localpath]a/[localpath]b "), LinkSource::WebLink, QStringLiteral("/p")),
              QStringLiteral("/p/a//p/b"));
    EXPECT_EQ(preparedTarget(QStringLiteral("[LocalPath]a"), LinkSource::WebLink, QStringLiteral("/p")),
              QStringLiteral("[LocalPath]a"));
    EXPECT_EQ(preparedTarget(QStringLiteral("\tx "), LinkSource::Contact, QStringLiteral("/p")), QStringLiteral("\tx"))
        << "blanks only";
    EXPECT_EQ(preparedTarget(QStringLiteral("Help.htm"), LinkSource::Help, QStringLiteral("/p")),
              QStringLiteral("/p/Help.htm"));
    EXPECT_EQ(preparedTarget(QStringLiteral(" [localpath] "), LinkSource::Favourite, QStringLiteral("/p")),
              QStringLiteral(" [localpath] "));
}

TEST_F(LinkTargetsTest, OpeningSaysAndLogsWhatItRefusesOrCannotOpen)
{
    RecordingUiHooks ui;
    RecordingOpener opener;
    removeDebugLog();

    EXPECT_TRUE(openLinkTarget(QStringLiteral("[localpath]Docs/Guide.HTM"), LinkSource::WebLink, opener,
                               QStringLiteral("OpenWebLink")));
    EXPECT_TRUE(opener.opened.empty()) << "an HTML document never reaches the desktop's browser";
    ASSERT_EQ(opener.shown.size(), 1u);
    EXPECT_EQ(opener.shown[0], fileUrl(QStringLiteral("Docs/Guide.HTM")));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(openLinkTarget(QStringLiteral("[localpath]Docs/manual.pdf"), LinkSource::WebLink, opener,
                               QStringLiteral("OpenWebLink")));
    ASSERT_EQ(opener.opened.size(), 1u) << "another document opens on the desktop";
    EXPECT_EQ(opener.opened[0], fileUrl(QStringLiteral("Docs/manual.pdf")));

    EXPECT_FALSE(openLinkTarget(QStringLiteral("   "), LinkSource::WebLink, opener, QStringLiteral("OpenWebLink")));
    EXPECT_TRUE(ui.messages().empty()) << "an empty target opens nothing and says nothing";

    EXPECT_FALSE(openLinkTarget(QStringLiteral("[localpath]Docs/run.sh"), LinkSource::WebLink, opener,
                                QStringLiteral("OpenWebLink")));
    EXPECT_EQ(opener.opened.size(), 1u) << "a program is never handed to the desktop";
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(ui.messages()[0].text.contains(QStringLiteral("was not opened")));
    EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Ziduver"));
    EXPECT_EQ(ui.messages()[0].style, 1);

    opener.succeed = false;
    EXPECT_FALSE(openLinkTarget(QStringLiteral("https://example.org/"), LinkSource::Contact, opener,
                                QStringLiteral("mnuHelpContact_Click")));
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[1].text, QStringLiteral("\"https://example.org/\" could not be opened."));

    const QStringList lines = debugLogLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].contains(QStringLiteral(" : OpenWebLink : frmMain ")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("\"https://example.org/\" could not be opened. : "
                                                   "mnuHelpContact_Click : frmMain ")));
}
