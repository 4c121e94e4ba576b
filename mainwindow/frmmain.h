#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
template <typename Window> class DefaultInstance;

// The main window after login. This first version offers the exam's name
// and three ways to start an exam (pretest, simulated exam, practice over the
// whole bank), Change Exam and Exit.
class frmmain : public QWidget {
    Q_OBJECT
public:
    // The one instance, created on first use.
    static frmmain& instance();
    static bool exists();
    // Unloads the window without ending the program; it is deleted once
    // control is back in the event loop.
    static void unload();

    // Shows the window (not modally) for the exam chosen at login: its name
    // and the program's title.
    void showForExam(const QString& examDescription);
    // Shows the window again as it was left (after an exam).
    void showAgain();

    QLabel* lblExamName;
    QLabel* lblStatus;
    QPushButton* cmdPretest;
    QPushButton* cmdSimulated;
    QPushButton* cmdPractice;
    QPushButton* mnuExam;
    QPushButton* mnuExit;

    // Set while "Change Exam" unloads the window, so that unloading does not
    // end the program.
    bool ChangingExam = false;

    void startExam(const QString& modeLetter);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    friend class DefaultInstance<frmmain>;
    frmmain();
    void mnuExam_Click();
};
