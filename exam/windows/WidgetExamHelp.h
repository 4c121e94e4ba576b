#pragma once

#include <QWidget>

class QTextBrowser;

// The program's help beside the exam: a window of its own titled "Help",
// not modal. The focus coming back from it to the exam is no activation of
// the exam window (it is marked neutral), so it never trips the activation
// guard or redraws the question.
class WidgetExamHelp : public QWidget {
    Q_OBJECT
public:
    explicit WidgetExamHelp(QWidget* owner);
    // Shows the help page and brings the window to the front.
    void showHelp(const QString& html);
    QTextBrowser* text() const { return m_text; }

private:
    QTextBrowser* m_text;
};
