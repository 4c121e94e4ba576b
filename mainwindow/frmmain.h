#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The main window after login. This first version offers the exam's name
// and three ways to start an exam (pretest, simulated exam, practice over the
// whole bank), Change Exam and Exit.
class frmmain : public QWidget {
    Q_OBJECT
public:
    static frmmain& instance();
    static bool exists();
    static void unload();

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
    frmmain();
    void mnuExam_Click();
};
