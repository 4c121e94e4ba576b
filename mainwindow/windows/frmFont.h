#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
template <typename Window> class DefaultInstance;

// The font window: the face, size, bold and italic of the question font.
// "&Set Font" stores the choice (settings and the font globals, which the next
// exam launch takes); "&Close" leaves without storing.
class frmFont : public QDialog {
    Q_OBJECT
public:
    // Loads the window afresh, shows it modally over the owner and unloads it
    // once it closes.
    static void showModal(QWidget* owner);
    // The loaded window, or null.
    static frmFont* find();

    QListWidget* lstFonts;
    QListWidget* lstFontSize;
    QCheckBox* chkBold;
    QCheckBox* chkItalic;
    QLabel* lblCurFont;
    QLabel* lblSize;
    QPushButton* cmdSetFont;
    QPushButton* cmdCancel;

    void Form_Load();
    void lstFonts_Click();
    void lstFontSize_Click();
    // Stores the face and size shown and the two switches; false (logged and
    // shown) when the settings could not be written.
    bool SetFontsSettings2Registry();
    void cmdSetFont_Click();
    void cmdCancel_Click();

private:
    friend class DefaultInstance<frmFont>;
    frmFont();
    void showPreview();
};
