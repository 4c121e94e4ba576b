#include "exam/ExamKeys.h"

#include <Qt>
#include <gtest/gtest.h>

namespace {

TEST(ExamKeys, StoredHotKeyCodesMapToTheirKeys)
{
    const struct {
        int code;
        int key;
    } cases[] = {
        {112, Qt::Key_F1},
        {144, Qt::Key_NumLock},
        {145, Qt::Key_ScrollLock},
        {33, Qt::Key_PageUp},
        {34, Qt::Key_PageDown},
        {113, Qt::Key_F2},
        {114, Qt::Key_F3},
        {0, 0},
        {13, 0},
        {115, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hotKeyOf(c.code), c.key) << c.code;
}

TEST(ExamKeys, EnterMovesOnOutsideEssaysBreaksAndTheMarkedPanelAndTheHotKeyShowsThePracticeAnswer)
{
    struct Case {
        const char* name;
        int key;
        ExamMode mode;
        int questType;
        bool alert, paused, marked, cheat;
        int hotKey;
        KeyCommand command;
        bool consumed;
    };
    using M = ExamMode;
    const KeyCommand None = KeyCommand::None, Next = KeyCommand::Next, Show = KeyCommand::ShowAnswer,
                     Close = KeyCommand::CloseMarkedPanel;
    const Case cases[] = {
        {"Return moves on", Qt::Key_Return, M::Simulated, 1, false, false, false, false, 0, Next, true},
        {"keypad Enter too", Qt::Key_Enter, M::Practice, 3, false, false, false, false, 0, Next, true},
        {"Enter lowers the alert and moves on", Qt::Key_Return, M::Practice, 1, true, false, false, false, 0, Next,
         true},
        {"an essay keeps its line break", Qt::Key_Return, M::Practice, 2, false, false, false, false, 0, None, false},
        {"no move during a break", Qt::Key_Return, M::Simulated, 1, false, true, false, false, 0, None, true},
        {"no move under the marked panel", Qt::Key_Enter, M::Simulated, 4, false, false, true, false, 0, None, true},
        {"the hot key in practice", Qt::Key_F2, M::Practice, 1, false, false, false, true, 113, Show, true},
        {"Page Down as the hot key", Qt::Key_PageDown, M::Practice, 2, false, false, false, true, 34, Show, true},
        {"the hot key switched off", Qt::Key_F2, M::Practice, 1, false, false, false, false, 113, None, false},
        {"the hot key under the alert", Qt::Key_F2, M::Practice, 1, true, false, false, true, 113, None, false},
        {"the hot key in a simulated exam", Qt::Key_F2, M::Simulated, 1, false, false, false, true, 113, None, false},
        {"the hot key in a pretest", Qt::Key_F1, M::Test, 1, false, false, false, true, 112, None, false},
        {"another key", Qt::Key_F3, M::Practice, 1, false, false, false, true, 113, None, false},
        {"no hot key stored", Qt::Key_F1, M::Practice, 1, false, false, false, true, 0, None, false},
        {"Escape closes the marked panel", Qt::Key_Escape, M::Simulated, 1, false, false, true, false, 0, Close, true},
        {"Escape without the panel is the page's", Qt::Key_Escape, M::Simulated, 1, false, false, false, false, 0, None,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KeyContext context;
        context.mode = c.mode;
        context.questType = c.questType;
        context.alertShown = c.alert;
        context.paused = c.paused;
        context.markedPanelShown = c.marked;
        context.cheatKeyEnabled = c.cheat;
        context.hotKeyCode = c.hotKey;
        const KeyDecision d = examKeyDown(c.key, context);
        EXPECT_EQ(d.command, c.command);
        EXPECT_EQ(d.consumed, c.consumed);
    }
}

} // namespace
