#include "exam/windows/frmHelpSelectandPlace.h"

#include "exam/HelpTexts.h"
#include "foundation/SharedState.h"
#include "foundation/windows/WidgetSkinning.h"
#include "platform/ui/DefaultInstance.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// The window's lengths are laid down at 15 units a pixel.
constexpr int px(int units)
{
    return units / 15;
}

} // namespace

frmHelpSelectandPlace& frmHelpSelectandPlace::load(int questType, int interactiveCode, QWidget* owner)
{
    if (frmHelpSelectandPlace* previous = loaded())
        previous->unload();
    frmHelpSelectandPlace& window = DefaultInstance<frmHelpSelectandPlace>::get();
    if (owner)
        window.setParent(owner, window.windowFlags() | Qt::Dialog);
    window.m_questType = questType;
    window.m_interactiveCode = interactiveCode;
    window.Form_Load();
    return window;
}

frmHelpSelectandPlace* frmHelpSelectandPlace::loaded()
{
    return DefaultInstance<frmHelpSelectandPlace>::find();
}

void frmHelpSelectandPlace::unload()
{
    hide();
    DefaultInstance<frmHelpSelectandPlace>::discard(this);
}

frmHelpSelectandPlace::frmHelpSelectandPlace() : QDialog(nullptr)
{
    setObjectName(QStringLiteral("frmHelpSelectandPlace"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    const auto textBox = [this](const char* name) {
        auto* box = new QPlainTextEdit(Frame1);
        box->setObjectName(QLatin1String(name));
        box->setReadOnly(true);
        box->hide();
        return box;
    };
    txtMultiple = textBox("txtMultiple");
    txtEssay = textBox("txtEssay");
    txtFillInBlank = textBox("txtFillInBlank");
    txtinteractive = textBox("txtinteractive");
    Command1 = new QPushButton(QStringLiteral("&Close"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
}

void frmHelpSelectandPlace::Form_Load()
{
    // One layout for every screen mode.
    setFixedSize(px(9495), px(6540));
    Image1->setGeometry(px(60), px(60), px(9255), px(400));
    Frame1->setGeometry(px(60), px(480), px(9255), px(4410));
    Command1->setGeometry(px(4020), px(5250), px(1455), px(450));
    for (QPlainTextEdit* box : {txtEssay, txtFillInBlank, txtinteractive, txtMultiple})
        box->setGeometry(px(50), px(100), Frame1->width() - px(100), Frame1->height() - px(150));
    skinWindow(this);
    if (!windowIcon().isNull())
        Image1->setPixmap(windowIcon().pixmap(px(400), px(400)));
    setWindowTitle(gLogin.gAppTitle + QStringLiteral(" - Instructions"));
}

void frmHelpSelectandPlace::Form_Activate()
{
    for (QPlainTextEdit* box : {txtMultiple, txtEssay, txtFillInBlank, txtinteractive})
        box->hide();
    const QuestionInstruction instruction = questionInstruction(m_questType, m_interactiveCode);
    QPlainTextEdit* box = txtinteractive;
    switch (instruction.box) {
    case InstructionBox::Multiple:
        box = txtMultiple;
        break;
    case InstructionBox::Essay:
        box = txtEssay;
        break;
    case InstructionBox::FillInBlank:
        box = txtFillInBlank;
        break;
    case InstructionBox::Interactive:
        break;
    }
    box->setPlainText(readInstructionText(instruction.settingKey));
    box->show();
}

void frmHelpSelectandPlace::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

void frmHelpSelectandPlace::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}
