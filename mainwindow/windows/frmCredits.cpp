#include "mainwindow/windows/frmCredits.h"

#include "foundation/DebugLog.h"
#include "foundation/SharedState.h"
#include "foundation/windows/WidgetSkinning.h"
#include "platform/ui/DefaultInstance.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
void debugLine(const char* text)
{
    if (gStartup.gDebug == 1)
        WriteLog(QString::fromLatin1(text) + logDate());
}
} // namespace

void frmCredits::showModal(const QString& credits, QWidget* owner)
{
    frmCredits& window = DefaultInstance<frmCredits>::get();
    window.setParent(owner, window.windowFlags());
    window.Form_Load();
    QString lines = credits;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    window.rtbCredits->setPlainText(lines);
    window.exec();
    DefaultInstance<frmCredits>::discard(&window);
}

frmCredits* frmCredits::find()
{
    return DefaultInstance<frmCredits>::find();
}

frmCredits::frmCredits() : QDialog(nullptr)
{
    setObjectName(QStringLiteral("frmCredits"));
    setModal(true);
    rtbCredits = new QPlainTextEdit(this);
    rtbCredits->setObjectName(QStringLiteral("rtbCredits"));
    rtbCredits->setReadOnly(true);
    rtbCredits->setTextInteractionFlags(Qt::NoTextInteraction);
    rtbCredits->setFocusPolicy(Qt::NoFocus);
    rtbCredits->installEventFilter(this);
    text1 = new QLineEdit(this);
    text1->setObjectName(QStringLiteral("text1"));
    text1->hide();
    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFocusPolicy(Qt::StrongFocus);
    Picture1->setFixedSize(1, 1);
    image1 = new QPushButton(QStringLiteral("&Close"), this);
    image1->setObjectName(QStringLiteral("image1"));
    image1->setDefault(true);
    connect(image1, &QPushButton::clicked, this, &frmCredits::image1_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Picture1);
    buttons->addStretch();
    buttons->addWidget(image1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rtbCredits, 1);
    layout->addLayout(buttons);
}

void frmCredits::Form_Load()
{
    debugLine("Credits form Loading...:");
    skinWindow(this);
    setStyleSheet(styleSheet()
                  + QStringLiteral("\n#frmCredits { background-color: rgb(248, 248, 248); }"
                                   "\n#rtbCredits { background-color: rgb(248, 248, 248); }"));
    setWindowTitle(gLogin.gAppName + QStringLiteral("- Credits"));
    setFixedSize(520, 380);
    debugLine("Credits form Loaded :");
}

void frmCredits::image1_Click()
{
    debugLine("Credits form unLoaded :");
    done(QDialog::Accepted);
}

bool frmCredits::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == rtbCredits && event->type() == QEvent::FocusIn)
        Picture1->setFocus(Qt::OtherFocusReason);
    return QDialog::eventFilter(watched, event);
}
