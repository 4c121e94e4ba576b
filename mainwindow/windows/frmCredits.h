#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;
template <typename Window> class DefaultInstance;

// The credits window: the exam's comment text, shown as plain text that the
// user can read and scroll but not edit (no caret stands in it).
class frmCredits : public QDialog {
    Q_OBJECT
public:
    // Loads the window afresh with the text, shows it modally over the owner
    // and unloads it once it closes.
    static void showModal(const QString& credits, QWidget* owner);
    static frmCredits* find();

    QPlainTextEdit* rtbCredits;
    QLineEdit* text1;
    QWidget* Picture1;   // takes the focus the text is offered
    QPushButton* image1; // "&Close"

    void Form_Load();
    void image1_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class DefaultInstance<frmCredits>;
    frmCredits();
};
