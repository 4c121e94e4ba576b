#pragma once

#include <QWidget>

// A small window that says the exam is being prepared while the question
// set is built.
class frmLoading : public QWidget {
    Q_OBJECT
public:
    frmLoading();
};
