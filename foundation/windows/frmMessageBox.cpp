#include "foundation/windows/frmMessageBox.h"

#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/windows/WidgetSkinning.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmMessageBox::frmMessageBox(const QString& text, const QString& title, short style, QWidget* owner)
    : QDialog(owner), m_style(style), m_answer(style)
{
    setObjectName(QStringLiteral("frmMessageBox"));
    setWindowTitle(QStringLiteral("Message Title here"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setWordWrap(true);
    lblMessage->setTextFormat(Qt::PlainText);
    lblMessage->setMinimumWidth(340);
    lblMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (int i = 0; i < 3; ++i) {
        lblCaption[i] = new QPushButton(QStringLiteral("OK"), this);
        lblCaption[i]->setObjectName(QStringLiteral("lblCaption%1").arg(i));
        lblCaption[i]->setMinimumWidth(88);
        connect(lblCaption[i], &QPushButton::clicked, this, [this, i] { lblCaption_Click(i); });
    }
    for (const int i : {0, 2, 1})
        buttons->addWidget(lblCaption[i]);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->setSpacing(16);
    layout->addWidget(lblMessage);
    layout->addLayout(buttons);

    Form_Load(text, title);
}

void frmMessageBox::Form_Load(const QString& text, const QString& title)
{
    gGuard.gExamWindowActive = false;
    setWindowTitle(title);
    // The label breaks lines at "\n" only; the texts also use CR and CR LF.
    lblMessage->setText(messageBoxLines(text));
    const MessageButtons captions = messageButtonsFor(m_style);
    lblCaption[0]->setVisible(!captions.left.isEmpty());
    lblCaption[0]->setText(captions.left);
    lblCaption[1]->setText(captions.right);
    lblCaption[2]->setVisible(!captions.middle.isEmpty());
    lblCaption[2]->setText(captions.middle);
    (captions.left.isEmpty() ? lblCaption[1] : lblCaption[0])->setDefault(true);
    skinWindow(this);
    adjustSize();
}

void frmMessageBox::lblCaption_Click(int index)
{
    m_answer = messageResultFor(m_style, index);
    done(m_answer);
}
