#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The program's own modal message box: a text, a title and one of three
// button styles. The answer is left in gMsgResult.
class frmMessageBox : public QDialog {
    Q_OBJECT
public:
    explicit frmMessageBox(QWidget* owner = nullptr);

    QLabel* lblMessage;
    QPushButton* lblCaption[2];

private:
    void Form_Load();
    void lblCaption_Click(int index);
};
