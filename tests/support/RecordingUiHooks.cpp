#include "tests/support/RecordingUiHooks.h"

#include <gtest/gtest.h>

RecordingUiHooks::RecordingUiHooks() : m_previous(&uiHooks())
{
    installUiHooks(this);
}

RecordingUiHooks::~RecordingUiHooks()
{
    installUiHooks(m_previous);
    EXPECT_EQ(m_busyDepth, 0) << "the busy state was left on";
}

QStringList RecordingUiHooks::messageTexts() const
{
    QStringList texts;
    for (const Message& message : m_messages)
        texts << message.text;
    return texts;
}

void RecordingUiHooks::clear()
{
    m_messages.clear();
    m_htmlPages.clear();
    m_busyCalls.clear();
    m_processEvents = 0;
}

int RecordingUiHooks::messageBox(const QString& text, const QString& title, int style, QObject* owner)
{
    m_messages.push_back({text, title, style, owner});
    if (m_answers.empty())
        return m_defaultAnswer;
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void RecordingUiHooks::htmlMessage(const QString& page)
{
    m_htmlPages << page;
}

void RecordingUiHooks::setBusy(bool busy)
{
    m_busyCalls.push_back(busy);
    if (busy) {
        ++m_busyDepth;
    } else if (m_busyDepth == 0) {
        ++m_unbalancedOffs;
        ADD_FAILURE() << "the busy state was switched off while it was not on";
    } else {
        --m_busyDepth;
    }
}

void RecordingUiHooks::processEvents()
{
    ++m_processEvents;
}
