#include "exam/ExamRun.h"

#include <algorithm>

bool ExamRun::in(Phase phase) const
{
    return std::any_of(m_stack.begin(), m_stack.end(), [phase](const Layer& layer) { return layer.phase == phase; });
}

const char* ExamRun::phaseName(Phase phase)
{
    switch (phase) {
    case Phase::Loading:
        return "Loading";
    case Phase::Answering:
        return "Answering";
    case Phase::Checking:
        return "Checking";
    case Phase::Paused:
        return "Paused";
    case Phase::PickingMarked:
        return "PickingMarked";
    case Phase::Reviewing:
        return "Reviewing";
    case Phase::ReviewList:
        return "ReviewList";
    case Phase::Ending:
        return "Ending";
    case Phase::Ended:
        return "Ended";
    }
    return "?";
}

void ExamRun::started()
{
    if (m_stack.front().phase == Phase::Loading)
        m_stack.front().phase = Phase::Answering;
}

bool ExamRun::beginCheck()
{
    if (in(Phase::Checking) || ended())
        return false;
    enter(Phase::Checking);
    return true;
}

void ExamRun::finishCheck(CheckResult result)
{
    leave(Phase::Checking);
    m_lastCheck = result;
    if (result == CheckResult::Failed)
        m_keepPage = true;
}

bool ExamRun::takeKeptPage()
{
    const bool kept = m_keepPage;
    m_keepPage = false;
    return kept;
}

bool ExamRun::timeRanOut()
{
    if (in(Phase::Checking)) {
        m_timeOverDue = true;
        return false;
    }
    return true;
}

bool ExamRun::takeTimeOverDue()
{
    const bool due = m_timeOverDue && !in(Phase::Checking);
    if (due)
        m_timeOverDue = false;
    return due;
}

void ExamRun::hold(Phase phase, bool clockRan)
{
    if (ended())
        return;
    m_stack.push_back({phase, clockRan});
}

bool ExamRun::release(Phase phase)
{
    for (auto layer = m_stack.rbegin(); layer != m_stack.rend(); ++layer) {
        if (layer->phase == phase) {
            const bool clockRan = layer->clockRan;
            m_stack.erase(std::next(layer).base());
            return clockRan;
        }
    }
    return false;
}

void ExamRun::enterReview()
{
    m_reviewBegan = true;
    if (ended())
        return;
    m_stack.front().phase = Phase::Reviewing;
}

void ExamRun::enter(Phase phase)
{
    hold(phase, false);
}

void ExamRun::leave(Phase phase)
{
    release(phase);
}

bool ExamRun::beginEnd()
{
    if (busy())
        return false;
    enter(Phase::Ending);
    return true;
}

void ExamRun::endDeclined()
{
    leave(Phase::Ending);
}

ExamRun::EndStep ExamRun::end(EndReason reason, bool modalOpen)
{
    if (ended())
        return EndStep::AlreadyEnded;
    if (modalOpen && waitsForModal(reason)) {
        if (!m_pendingEnd)
            m_pendingEnd = reason;
        return EndStep::Deferred;
    }
    m_pendingEnd.reset();
    m_endReason = reason;
    m_stack.assign(1, {Phase::Ended});
    return EndStep::Teardown;
}

bool ExamRun::waitsForModal(EndReason reason)
{
    switch (reason) {
    case EndReason::EndExam:
    case EndReason::Passed:
    case EndReason::ReviewEnded:
    case EndReason::OtherWindow:
        return true;
    case EndReason::NothingToRun:
    case EndReason::ActivationGuard:
    case EndReason::WindowClosed:
        return false;
    }
    return true;
}
