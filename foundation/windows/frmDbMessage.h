#pragma once

#include <QDialog>

class QPushButton;
class BrowserView;

// The HTML message window of start-up: its large-font refusal and its
// failure text.
class frmDbMessage : public QDialog {
    Q_OBJECT
public:
    explicit frmDbMessage(const QString& page, QWidget* owner = nullptr);

    BrowserView* www1;
    QPushButton* cmdClose;
};
