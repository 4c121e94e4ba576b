#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
template <typename Window> class DefaultInstance;

// The instructions window: how a question of the type on screen is answered,
// from setup.xml.
class frmHelpSelectandPlace : public QDialog {
    Q_OBJECT
public:
    // The window loaded afresh for a question of that type (and interactive
    // code), not yet shown.
    static frmHelpSelectandPlace& load(int questType, int interactiveCode, QWidget* owner);
    static frmHelpSelectandPlace* loaded();
    // Closes and discards the window.
    void unload();

    QFrame* Frame1;
    QPlainTextEdit* txtMultiple;
    QPlainTextEdit* txtEssay;
    QPlainTextEdit* txtFillInBlank;
    QPlainTextEdit* txtinteractive;
    QPushButton* Command1; // "&Close"
    QLabel* Image1;

    // Every activation shows the text box of the question's type, filled
    // from the setting as it is now.
    void Form_Activate();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class DefaultInstance<frmHelpSelectandPlace>;
    frmHelpSelectandPlace();
    void Form_Load();

    int m_questType = 0;
    int m_interactiveCode = 0;
};
