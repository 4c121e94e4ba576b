#include "exam/ExamKeys.h"

#include <Qt>

int hotKeyOf(int keyCode)
{
    switch (keyCode) {
    case 112:
        return Qt::Key_F1;
    case 144:
        return Qt::Key_NumLock;
    case 145:
        return Qt::Key_ScrollLock;
    case 33:
        return Qt::Key_PageUp;
    case 34:
        return Qt::Key_PageDown;
    case 113:
        return Qt::Key_F2;
    case 114:
        return Qt::Key_F3;
    default:
        return 0;
    }
}

KeyDecision examKeyDown(int key, const KeyContext& context)
{
    KeyDecision decision;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (context.questType == 2)
            return decision;
        decision.consumed = true;
        if (!context.paused && !context.markedPanelShown)
            decision.command = KeyCommand::Next;
        return decision;
    }
    if (key == Qt::Key_Escape && context.markedPanelShown) {
        decision.command = KeyCommand::CloseMarkedPanel;
        decision.consumed = true;
        return decision;
    }
    if (context.alertShown || context.mode != ExamMode::Practice || !context.cheatKeyEnabled)
        return decision;
    const int hotKey = hotKeyOf(context.hotKeyCode);
    if (hotKey != 0 && key == hotKey) {
        decision.command = KeyCommand::ShowAnswer;
        decision.consumed = true;
    }
    return decision;
}
