#pragma once

#include "foundation/UiHooks.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

class QObject;

// A stand-in for the screen: installed while it lives (the hooks in force
// before come back afterwards), it records every message box, HTML message,
// pointer change and yield, and answers message boxes from a script.
class RecordingUiHooks : public UiHooks {
public:
    struct Message {
        QString text;
        QString title;
        int style = 0;
        QObject* owner = nullptr;
    };

    RecordingUiHooks();
    ~RecordingUiHooks() override;
    RecordingUiHooks(const RecordingUiHooks&) = delete;
    RecordingUiHooks& operator=(const RecordingUiHooks&) = delete;

    // The answers of the next message boxes, in order; once they are used up
    // every box gets the default answer.
    void answerNext(int result) { m_answers.push_back(result); }
    // -2 unless changed: the right-hand button (the single "OK" of style 1).
    void setDefaultAnswer(int result) { m_defaultAnswer = result; }

    const std::vector<Message>& messages() const { return m_messages; }
    QStringList messageTexts() const;
    const QStringList& htmlPages() const { return m_htmlPages; }
    // Every setBusy call in order. The busy state nests: busy() is true while
    // more "on" than "off" calls came. An "off" with nothing on fails the
    // test at once, and so does a double that goes with the state still on.
    const std::vector<bool>& busyCalls() const { return m_busyCalls; }
    int busyDepth() const { return m_busyDepth; }
    bool busy() const { return m_busyDepth > 0; }
    int unbalancedBusyOffs() const { return m_unbalancedOffs; }
    int processEventsCalls() const { return m_processEvents; }
    // Forgets the recorded calls; the busy depth stays, since the code under
    // test still owes its "off" calls.
    void clear();

    int messageBox(const QString& text, const QString& title, int style, QObject* owner) override;
    void htmlMessage(const QString& page) override;
    void setBusy(bool busy) override;
    void processEvents() override;

private:
    UiHooks* m_previous;
    std::deque<int> m_answers;
    int m_defaultAnswer = -2;
    std::vector<Message> m_messages;
    QStringList m_htmlPages;
    std::vector<bool> m_busyCalls;
    int m_busyDepth = 0;
    int m_unbalancedOffs = 0;
    int m_processEvents = 0;
};
