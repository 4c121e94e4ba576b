#pragma once

#include <QDialog>

class BrowserView;
class QPushButton;
template <typename Window> class DefaultInstance;

// The about window: the static page aboutus.htm of the program folder. A
// missing page shows the browser's own error page.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    // Loads the window afresh, shows it modally (no owner) and unloads it once
    // it closes.
    static void showModal();
    static frmAbout* find();

    BrowserView* www1;
    QPushButton* image1; // "&Close"

    void Form_Load();
    void image1_Click();

private:
    friend class DefaultInstance<frmAbout>;
    frmAbout();
};
