#pragma once

#include "exam/HelpTexts.h"
#include "platform/db/Connection.h"

#include <QDialog>
#include <QUrl>

class BrowserView;
class QPushButton;
template <typename Window> class DefaultInstance;

// The explanation window: the explanation of the question on screen, from
// the exam database, as a page.
class frmMoreHelp : public QDialog {
    Q_OBJECT
public:
    // What the window reads of the running exam.
    struct Question {
        int questCode = 0;        // gQuestCode
        QString connectionString; // gQuizConnStr
        QString fontName;         // gQuizFontName
        int fontSize = 0;         // gQuizFontSize
        QString examDbPath;       // gQuizExamDbPath
    };

    // The window loaded afresh for the question, not yet shown.
    static frmMoreHelp& load(const Question& question, QWidget* owner);
    static frmMoreHelp* loaded();
    // Closes its connection and discards the window.
    void unload();

    BrowserView* www2;
    QPushButton* cmdBack;
    QPushButton* cmdOK;

    // The last explanation page built.
    const QString& ExplanationHtml() const { return m_explanationHtml; }

    void LoadExplanation();
    void ShowExplanation(const QString& text);
    void cmdBack_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    friend class DefaultInstance<frmMoreHelp>;
    frmMoreHelp();
    void Form_Load();
    void BuildExplanationHtml(const QString& text);
    void www2_NavigateComplete2(const QUrl& url);
    // The explanation written again into the view, Back disabled.
    void rewriteExplanation();
    void Form_QueryUnload();
    // Logged whatever the debug flag, and shown.
    void reportError(const QString& text, const char* procedure);

    Question m_question;
    db::Connection m_exam;
    QString m_explanationHtml;
};
