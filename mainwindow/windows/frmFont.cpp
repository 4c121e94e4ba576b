#include "mainwindow/windows/frmFont.h"

#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/windows/WidgetSkinning.h"
#include "mainwindow/MainWindowShared.h"
#include "mainwindow/QuestionFont.h"
#include "platform/ui/DefaultInstance.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

// Selects the entry with the text (exact spelling first, then any case);
// none when the list lacks it. No click handler runs.
void selectEntry(QListWidget* list, const QString& text)
{
    const QSignalBlocker blocker(list);
    list->setCurrentRow(-1);
    QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found.isEmpty())
        found = list->findItems(text, Qt::MatchFixedString);
    if (!found.isEmpty()) {
        list->setCurrentItem(found.first());
        list->scrollToItem(found.first());
    }
}

QStringList installedFamilies()
{
    QStringList families;
    for (const QString& family : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(family))
            families << family;
    return fontFamilyNames(families);
}

} // namespace

void frmFont::showModal(QWidget* owner)
{
    frmFont& window = DefaultInstance<frmFont>::get();
    window.setParent(owner, window.windowFlags());
    window.Form_Load();
    window.exec();
    DefaultInstance<frmFont>::discard(&window);
}

frmFont* frmFont::find()
{
    return DefaultInstance<frmFont>::find();
}

frmFont::frmFont() : QDialog(nullptr)
{
    setObjectName(QStringLiteral("frmFont"));
    setModal(true);

    lstFonts = new QListWidget(this);
    lstFonts->setObjectName(QStringLiteral("lstFonts"));
    lstFontSize = new QListWidget(this);
    lstFontSize->setObjectName(QStringLiteral("lstFontSize"));
    lstFontSize->setMaximumWidth(80);
    chkBold = new QCheckBox(QStringLiteral("&Bold"), this);
    chkBold->setObjectName(QStringLiteral("chkBold"));
    chkItalic = new QCheckBox(QStringLiteral("Italic"), this);
    chkItalic->setObjectName(QStringLiteral("chkItalic"));
    lblCurFont = new QLabel(this);
    lblCurFont->setObjectName(QStringLiteral("lblCurFont"));
    lblCurFont->setMinimumHeight(40);
    lblCurFont->setTextFormat(Qt::PlainText); // a font's name as installed
    lblSize = new QLabel(this);
    lblSize->setObjectName(QStringLiteral("lblSize"));
    cmdSetFont = new QPushButton(QStringLiteral("&Set Font"), this);
    cmdSetFont->setObjectName(QStringLiteral("cmdSetFont"));
    cmdSetFont->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Close"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    connect(lstFonts, &QListWidget::itemClicked, this, &frmFont::lstFonts_Click);
    connect(lstFonts, &QListWidget::currentRowChanged, this, &frmFont::lstFonts_Click);
    connect(lstFontSize, &QListWidget::itemClicked, this, &frmFont::lstFontSize_Click);
    connect(lstFontSize, &QListWidget::currentRowChanged, this, &frmFont::lstFontSize_Click);
    connect(chkBold, &QCheckBox::toggled, this, &frmFont::showPreview);
    connect(chkItalic, &QCheckBox::toggled, this, &frmFont::showPreview);
    connect(cmdSetFont, &QPushButton::clicked, this, &frmFont::cmdSetFont_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmFont::cmdCancel_Click);

    auto* lists = new QGridLayout;
    lists->addWidget(new QLabel(QStringLiteral("Font"), this), 0, 0);
    lists->addWidget(new QLabel(QStringLiteral("Size"), this), 0, 1);
    lists->addWidget(lstFonts, 1, 0);
    lists->addWidget(lstFontSize, 1, 1);
    auto* style = new QHBoxLayout;
    style->addWidget(chkBold);
    style->addWidget(chkItalic);
    style->addStretch();
    auto* preview = new QHBoxLayout;
    preview->addWidget(lblCurFont, 1);
    preview->addWidget(lblSize);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSetFont);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(style);
    layout->addLayout(preview);
    layout->addLayout(buttons);
    setFixedSize(420, 400);
}

void frmFont::Form_Load()
{
    skinWindow(this);
    setWindowTitle(gLogin.gAppName + QStringLiteral("- Select Font"));
    {
        const QSignalBlocker fonts(lstFonts);
        const QSignalBlocker sizes(lstFontSize);
        lstFonts->clear();
        lstFonts->addItems(installedFamilies());
        lstFontSize->clear();
        lstFontSize->addItems(fontSizeNames(QFontDatabase::standardSizes()));
    }
    // The current choice shows even when the lists lack it.
    lblCurFont->setText(gMain.gFontFace);
    lblSize->setText(fontSizeText(gMain.gFontSize));
    selectEntry(lstFonts, gMain.gFontFace);
    selectEntry(lstFontSize, lblSize->text());
    {
        const QSignalBlocker bold(chkBold);
        const QSignalBlocker italic(chkItalic);
        chkBold->setChecked(gMain.gFontBold);
        chkItalic->setChecked(gMain.gFontItalic);
    }
    showPreview();
}

void frmFont::lstFonts_Click()
{
    if (QListWidgetItem* item = lstFonts->currentItem())
        lblCurFont->setText(item->text());
    showPreview();
}

void frmFont::lstFontSize_Click()
{
    if (QListWidgetItem* item = lstFontSize->currentItem())
        lblSize->setText(item->text());
    showPreview();
}

void frmFont::showPreview()
{
    QFont font(lblCurFont->text());
    if (const double size = fontSizeValue(lblSize->text()); size > 0)
        font.setPointSizeF(std::min(size, 28.0));
    font.setBold(chkBold->isChecked());
    font.setItalic(chkItalic->isChecked());
    lblCurFont->setFont(font);
}

bool frmFont::SetFontsSettings2Registry()
{
    if (::SetFontsSettings2Registry(lblCurFont->text(), lblSize->text(), chkBold->isChecked(), chkItalic->isChecked()))
        return true;
    const QString text = QStringLiteral("The font could not be stored in the settings.");
    WriteLog(text + QStringLiteral(" : SetFontsSettings2Registry : frmFont ") + logDate());
    ShowMessage(text, gLogin.gAppName, OneButton, this);
    return false;
}

void frmFont::cmdSetFont_Click()
{
    SetFontsSettings2Registry();
    done(QDialog::Accepted);
}

void frmFont::cmdCancel_Click()
{
    done(QDialog::Rejected);
}
