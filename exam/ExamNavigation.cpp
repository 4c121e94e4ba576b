#include "exam/ExamNavigation.h"

#include <algorithm>

bool isListMode(ExamMode mode)
{
    return mode == ExamMode::Simulated || mode == ExamMode::Practice || mode == ExamMode::Test;
}

NavigationMove nextMove(ExamMode mode, const NavigationState& state)
{
    NavigationMove move;
    move.current = state.current + 1;
    move.reached = state.reached;
    if (state.reviewMode && move.current > state.reviewLastIndex)
        move.current = state.reviewLastIndex;
    if (!state.reviewMode) {
        if (isListMode(mode))
            move.reached = std::max(move.reached, move.current);
        else if (move.reached <= move.current)
            ++move.reached;
    }
    if (move.current >= state.count) {
        move.current = state.count;
        // Review may have cut the count below the questions reached; those
        // stay reached (their answers are recorded).
        move.reached = state.reviewMode ? std::max(state.reached, state.count) : state.count;
        move.prevEnabled = true;
        move.prevTouched = true;
    }
    // Outside the list modes Next only counts; it shows nothing and stays
    // disabled.
    if (!isListMode(mode) && !state.reviewMode)
        return move;
    move.showQuestion = true;
    move.prevTouched = true;
    // Practice keeps Next at the last question: pressing it checks the
    // answer again.
    move.nextEnabled = move.current < state.count || mode == ExamMode::Practice;
    // Nothing lies before question 1, also in a one-question exam.
    move.prevEnabled = move.current >= 2;
    return move;
}

NavigationMove previousMove(ExamMode mode, const NavigationState& state)
{
    NavigationMove move;
    move.current = state.current;
    move.reached = state.reached;
    move.prevTouched = true;
    if (!isListMode(mode) || state.current <= 1) {
        move.prevEnabled = false;
        move.nextEnabled = false;
        return move;
    }
    move.current = state.current - 1;
    move.showQuestion = true;
    move.prevEnabled = move.current != 1;
    move.nextEnabled = true;
    return move;
}

NavigationMove jumpMove(int number, const NavigationState& state)
{
    NavigationMove move;
    // Inside the questions of the exam: up to the count, or up to the
    // questions reached where review cut the count below them.
    move.current = std::clamp(number, 1, std::max({1, state.count, state.reached}));
    move.reached = state.reached;
    move.showQuestion = true;
    move.prevTouched = true;
    move.prevEnabled = move.current > 1;
    move.nextEnabled = move.current < state.count;
    return move;
}

AlertGate wrongPracticeAnswer(bool feedbackTicked, bool& passGranted, QString& alertAction)
{
    const QString nextQuestion = QStringLiteral("NEXTQUESTION");
    AlertGate gate;
    if (feedbackTicked) {
        if (passGranted) {
            // The panel's "Next Question" granted this one pass.
            passGranted = false;
        } else {
            gate.raisePanel = true;
            alertAction.clear();
        }
    } else {
        alertAction = nextQuestion;
    }
    gate.moveOn = alertAction == nextQuestion;
    return gate;
}

QString questionCounterText(int current, int count)
{
    return QStringLiteral("%1 of %2").arg(current).arg(count);
}
