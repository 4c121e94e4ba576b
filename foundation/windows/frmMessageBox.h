#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The program's own modal message box: a text, a title and one of the
// button styles. result() after exec() is the answer (100 Yes, -1 Ok, -2 No
// or Cancel, -3 Discard; the style itself when closed without a button).
class frmMessageBox : public QDialog {
    Q_OBJECT
public:
    frmMessageBox(const QString& text, const QString& title, short style, QWidget* owner = nullptr);

    short answer() const { return m_answer; }

    QLabel* lblMessage;
    QPushButton* lblCaption[3]; // left, right, and the middle one of three

private:
    void Form_Load(const QString& text, const QString& title);
    void lblCaption_Click(int index);

    short m_style;
    short m_answer;
};
