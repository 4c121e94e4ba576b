#include "exam/links/ReturnToMainWindowLink.h"
#include "foundation/ExamParameters.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/WindowLink.h"
#include "foundation/links/MainWindowLink.h"
#include "mainwindow/links/ExamWindowLink.h"
#include "mainwindow/links/LoginWindowLink.h"
#include "tests/support/RecordingUiHooks.h"

#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Two links of one signature, and one with a result.
struct FirstLink : WindowLink<FirstLink, void(int)> {
    static constexpr const char* window = "The first window";
};
struct SecondLink : WindowLink<SecondLink, void(int)> {
    static constexpr const char* window = "The second window";
};
struct CountingLink : WindowLink<CountingLink, int(const QString&)> {
    static constexpr const char* window = "The counting window";
};

TEST(WindowLink, AnUnwiredLinkSaysItsWindowComesWithALaterVersion)
{
    gLogin.gAppName = QStringLiteral("Ziduver");
    gGuard.gExamWindowActive = true;
    RecordingUiHooks ui;
    const struct {
        std::function<void()> open;
        bool wired;
        const char* text;
    } links[] = {
        {[] { MainWindowLink::open(QStringLiteral("Exam One")); }, MainWindowLink::wired(),
         "The main window comes with a later version."},
        {[] { ReturnToMainWindowLink::open(); }, ReturnToMainWindowLink::wired(),
         "The main window comes with a later version."},
        {[] { ExamWindowLink::open(ExamParameters{}); }, ExamWindowLink::wired(),
         "The exam window comes with a later version."},
        {[] { LoginWindowLink::open(QStringLiteral("ALICE"), QStringLiteral("PW")); }, LoginWindowLink::wired(),
         "The login window comes with a later version."},
        {[] { EXPECT_EQ(CountingLink::open(QStringLiteral("x")), 0) << "an unwired link returns the default"; },
         CountingLink::wired(), "The counting window comes with a later version."},
    };
    for (const auto& link : links) {
        SCOPED_TRACE(link.text);
        ui.clear();
        EXPECT_FALSE(link.wired) << "nothing wires a link but the program's start";
        link.open();
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages()[0].text, QString::fromLatin1(link.text));
        EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Ziduver"));
        EXPECT_EQ(ui.messages()[0].style, int(OneButton));
    }
    EXPECT_FALSE(gGuard.gExamWindowActive) << "the message goes through ShowMessage";
}

TEST(WindowLink, EachLinkReachesOnlyItsOwnTargetUntilUnwired)
{
    RecordingUiHooks ui;
    QStringList calls;
    FirstLink::wire([&calls](int value) { calls << QStringLiteral("first %1").arg(value); });
    SecondLink::wire([&calls](int value) { calls << QStringLiteral("second %1").arg(value); });
    CountingLink::wire([](const QString& text) { return int(text.size()); });
    EXPECT_TRUE(FirstLink::wired());

    FirstLink::open(1);
    SecondLink::open(2);
    EXPECT_EQ(CountingLink::open(QStringLiteral("four")), 4);
    EXPECT_EQ(calls, QStringList({QStringLiteral("first 1"), QStringLiteral("second 2")}));

    // A target that rewires its own link runs to its end; the next opening
    // reaches the new target.
    int seen = 0;
    FirstLink::wire([&calls, &seen](int value) {
        FirstLink::wire([&calls](int) { calls << QStringLiteral("rewired"); });
        seen = value;
    });
    FirstLink::open(5);
    FirstLink::open(6);
    EXPECT_EQ(seen, 5);
    EXPECT_EQ(calls.last(), QStringLiteral("rewired"));
    EXPECT_TRUE(ui.messages().empty());

    FirstLink::wire(nullptr);
    EXPECT_FALSE(FirstLink::wired());
    FirstLink::open(7);
    SecondLink::open(8);
    EXPECT_EQ(ui.messageTexts(), QStringList({QStringLiteral("The first window comes with a later version.")}));
    EXPECT_EQ(calls.last(), QStringLiteral("second 8"));
    SecondLink::wire(nullptr);
    CountingLink::wire(nullptr);
}

} // namespace
