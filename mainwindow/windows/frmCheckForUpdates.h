#pragma once

#include <QDialog>

class BrowserView;
class QPushButton;
template <typename Window> class DefaultInstance;

// The update check: the update server's answer to this installation's engine
// and product, shown as the server sends it. An unreachable server shows the
// browser's own error page.
class frmCheckForUpdates : public QDialog {
    Q_OBJECT
public:
    // Loads the window afresh, asks the program's update server, shows the
    // window modally over the owner and unloads it once it closes.
    static void showModal(const QString& productId, const QString& productVersion, QWidget* owner);
    static frmCheckForUpdates* find();

    BrowserView* web1;
    QPushButton* cmdExit; // "E&xit"

    // Asks the server at that address (ending in "/").
    void Form_Load(const QString& serverAddress, const QString& productId, const QString& productVersion);
    void cmdExit_Click();

private:
    friend class DefaultInstance<frmCheckForUpdates>;
    frmCheckForUpdates();
};
