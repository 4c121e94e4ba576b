#include "mainwindow/windows/frmmain.h"

#include "foundation/DebugLog.h"
#include "foundation/ProgramFolder.h"
#include "foundation/SharedState.h"
#include "mainwindow/MainWindowShared.h"
#include "mainwindow/MenuColour.h"
#include "mainwindow/windows/WidgetCategoryTreeView.h"
#include "mainwindow/windows/WidgetPicture.h"
#include "platform/pages/ExamFile.h"
#include "platform/pages/FileLookup.h"

#include <QAction>
#include <QButtonGroup>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>
#include <utility>

// The main window's controls, their layout, look and pictures; what they
// show and do is in frmmain.cpp.

namespace {

// The window's drawn size: its design size, narrowed to a smaller screen.
constexpr int kDesignWidth = 1000;
constexpr int kDesignHeight = 720;
constexpr QSize kModePicture{212, 64};
constexpr QSize kStartExitPicture{120, 40};
constexpr QSize kLogoMax{220, 56};

// The palette the pictures are drawn in; the setup.xml menu colours take
// the text and accent places when they are valid.
const QColor kText(0x1f, 0x2e, 0x3a);
const QColor kAccent(0x0b, 0x6f, 0xc4);
const QColor kMuted(0x5b, 0x6b, 0x79);
const QColor kLines(0xcf, 0xd8, 0xe1);

QColor colourOf(const QString& settingText, const QColor& fallback)
{
    const std::optional<MenuRgb> colour = parseMenuColour(settingText);
    return colour ? QColor(colour->red, colour->green, colour->blue) : fallback;
}

QPixmap picture(const QString& name)
{
    return QPixmap(programFile(gLogin.gIconPath + QLatin1Char('/') + name));
}

QString styleSheetFor(const QColor& text, const QColor& accent)
{
    return QStringLiteral(
               "#frmmain QLabel, #frmmain QRadioButton { background: transparent; color: %1; }"
               "#frmmain QGroupBox { background-color: rgba(255, 255, 255, 215); border: 1px solid %3;"
               "  border-radius: 6px; margin-top: 10px; padding: 12px 8px 8px 8px; }"
               "#frmmain QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; color: %2; }"
               "#frmmain QTreeWidget, #frmmain QListWidget, #frmmain QPlainTextEdit { background-color: #ffffff;"
               "  color: %1; border: 1px solid %3; border-radius: 4px; selection-background-color: #dcecfb;"
               "  selection-color: %1; }"
               "#frmmain QTreeWidget:disabled, #frmmain QListWidget:disabled { background-color: #f1f4f7;"
               "  color: %4; }"
               "#frmmain QTreeWidget:focus, #frmmain QListWidget:focus, #frmmain QPlainTextEdit:focus {"
               "  border: 1px solid %2; }"
               "#frmmain QPushButton { background-color: #ffffff; color: %1; border: 1px solid #b9c6d2;"
               "  border-radius: 4px; padding: 5px 14px; }"
               "#frmmain QPushButton:hover, #frmmain QPushButton:focus { border-color: %2; }"
               "#frmmain QPushButton:pressed { background-color: #d3e6f8; }"
               "#frmmain QPushButton:disabled { background-color: #eef1f4; color: #9aa7b3; border-color: #d8dfe6; }"
               "#frmmain QRadioButton::indicator { width: 12px; height: 12px; border: 1px solid #8a98a6;"
               "  border-radius: 7px; background-color: #ffffff; }"
               "#frmmain QRadioButton::indicator:hover, #frmmain QRadioButton::indicator:focus {"
               "  border-color: %2; }"
               "#frmmain QRadioButton::indicator:checked { border: 1px solid %2; background-color: qradialgradient("
               "  cx: 0.5, cy: 0.5, radius: 0.5, fx: 0.5, fy: 0.5, stop: 0 %2, stop: 0.45 %2, stop: 0.55 #ffffff,"
               "  stop: 1 #ffffff); }"
               "#frmmain QScrollBar:vertical { background: #eef2f6; width: 12px; margin: 0; border: none; }"
               "#frmmain QScrollBar::handle:vertical { background: #b9c6d2; border-radius: 5px; min-height: 24px;"
               "  margin: 1px 2px; }"
               "#frmmain QScrollBar::handle:vertical:hover { background: %2; }"
               "#frmmain QScrollBar::add-line:vertical, #frmmain QScrollBar::sub-line:vertical { height: 0; }"
               "#frmmain QScrollBar::add-page:vertical, #frmmain QScrollBar::sub-page:vertical { background: none; }"
               "#frmmain QScrollBar:horizontal { background: #eef2f6; height: 12px; margin: 0; border: none; }"
               "#frmmain QScrollBar::handle:horizontal { background: #b9c6d2; border-radius: 5px; min-width: 24px;"
               "  margin: 2px 1px; }"
               "#frmmain QScrollBar::handle:horizontal:hover { background: %2; }"
               "#frmmain QScrollBar::add-line:horizontal, #frmmain QScrollBar::sub-line:horizontal { width: 0; }"
               "#frmmain QScrollBar::add-page:horizontal, #frmmain QScrollBar::sub-page:horizontal {"
               "  background: none; }"
               "#frmmain QLabel#lblExamName { color: %2; }"
               "#frmmain QLabel#lblStartKey, #frmmain QLabel#lblExitKey { color: %4; font-size: 8pt; }"
               "#frmmain QLabel#lblTimeAllowed { color: %2; font-weight: bold; }")
        .arg(text.name(), accent.name(), kLines.name(), kMuted.name());
}
} // namespace

void frmmain::buildControls()
{
    // The menu commands of the hidden menu bar.
    mnuExam = new QAction(QStringLiteral("Change Exam"), this);
    mnuclearHistory = new QAction(QStringLiteral("Clear History"), this);
    mnuviewPref = new QAction(QStringLiteral("Admin Preferences"), this);
    mnuExamDescription = new QAction(QStringLiteral("Exam Details"), this);
    mnuExit = new QAction(QStringLiteral("Exit"), this);
    connect(mnuExam, &QAction::triggered, this, &frmmain::mnuExam_Click);
    connect(mnuclearHistory, &QAction::triggered, this, &frmmain::mnuclearHistory_Click);
    connect(mnuExit, &QAction::triggered, this, [this] { Image6_Click(1); });

    m_menuArea = new QWidget(this);
    m_menuArea->setObjectName(QStringLiteral("menuArea"));
    m_menuArea->setFixedHeight(30);

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setMaximumSize(kLogoMax);
    imgLogo->hide();
    lblExamName = new QLabel(this);
    lblExamName->setObjectName(QStringLiteral("lblExamName"));
    QFont title = lblExamName->font();
    title.setPointSize(title.pointSize() + 7);
    title.setBold(true);
    lblExamName->setFont(title);
    lblExamName->setWordWrap(true);
    lblExamName->setTextFormat(Qt::PlainText);

    // The mode pictures and option buttons.
    Frame5 = new QGroupBox(QStringLiteral("Select Exam Mode"), this);
    Frame5->setObjectName(QStringLiteral("Frame5"));
    const auto modePicture = [this](const char* name, const char* caption) {
        auto* picture = new WidgetPicture(QLatin1String(name), QLatin1String(caption), Frame5);
        picture->setFixedSize(kModePicture);
        return picture;
    };
    Image3[0] = modePicture("Image3_0", "Practice Drills");
    Image3[1] = modePicture("Image3_1", "Practice Drills");
    Image3[2] = modePicture("Image3_2", "Pretest");
    Image3[3] = modePicture("Image3_3", "Pretest");
    Image2[0] = modePicture("Image2_0", "Simulated Exam");
    Image2[1] = modePicture("Image2_1", "Simulated Exam");
    for (int i : {1, 3})
        connect(Image3[size_t(i)], &WidgetPicture::clicked, this, [this, i] {
            mode.Image3_Click(i);
            showState();
        });
    connect(Image2[1], &WidgetPicture::clicked, this, [this] {
        mode.Image2_Click(1);
        showState();
    });
    // A chosen picture takes no focus: only the buttons choose.
    for (WidgetPicture* chosen : {Image3[0], Image3[2], Image2[0]})
        chosen->setFocusPolicy(Qt::NoFocus);

    Option1 = new QRadioButton(Frame5);
    Option2 = new QRadioButton(Frame5);
    Option3 = new QRadioButton(Frame5);
    Label7 = new QLabel(QStringLiteral("Adaptive Testing"), Frame5);
    Label9 = new QLabel(QStringLiteral("Simulated Exam"), Frame5);
    Label10 = new QLabel(QStringLiteral("Practice Drills"), Frame5);
    m_options = new QButtonGroup(this);
    const std::array<std::pair<QRadioButton*, QLabel*>, 3> options{
        {{Option1, Label7}, {Option2, Label9}, {Option3, Label10}}};
    const char* const optionNames[] = {"Option1", "Option2", "Option3"};
    const char* const labelNames[] = {"Label7", "Label9", "Label10"};
    for (size_t i = 0; i < options.size(); ++i) {
        options[i].first->setObjectName(QLatin1String(optionNames[i]));
        options[i].first->setAccessibleName(options[i].second->text());
        options[i].second->setObjectName(QLatin1String(labelNames[i]));
        options[i].second->setCursor(Qt::PointingHandCursor);
        options[i].second->installEventFilter(this);
        m_options->addButton(options[i].first, int(i) + 1);
    }
    connect(m_options, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked)
            return;
        mode.chooseOption(ModeChoice::Option(id));
        showState();
    });

    auto* pictures = new QVBoxLayout;
    pictures->setSpacing(6);
    // Each mode's chosen picture and its button share one place.
    for (const auto& [chosen, button] :
         {std::pair{Image3[2], Image3[3]}, std::pair{Image3[0], Image3[1]}, std::pair{Image2[0], Image2[1]}}) {
        auto* place = new QWidget(Frame5);
        place->setFixedSize(kModePicture);
        chosen->setParent(place);
        button->setParent(place);
        chosen->move(0, 0);
        button->move(0, 0);
        pictures->addWidget(place, 0, Qt::AlignHCenter);
    }
    auto* optionRows = new QGridLayout;
    optionRows->setHorizontalSpacing(6);
    optionRows->setVerticalSpacing(2);
    for (size_t i = 0; i < options.size(); ++i) {
        optionRows->addWidget(options[i].first, int(i), 0);
        optionRows->addWidget(options[i].second, int(i), 1);
    }
    optionRows->setColumnStretch(1, 1);
    auto* frame5Layout = new QVBoxLayout(Frame5);
    frame5Layout->setSpacing(8);
    frame5Layout->addLayout(pictures);
    frame5Layout->addSpacing(2);
    frame5Layout->addLayout(optionRows);
    frame5Layout->addStretch();

    // The tree of the practice pool.
    tvwCategory = new WidgetCategoryTreeView(this);
    tvwCategory->setObjectName(QStringLiteral("tvwCategory"));
    // Long names scroll rather than being cut short.
    tvwCategory->header()->setStretchLastSection(false);
    tvwCategory->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    connect(tvwCategory, &WidgetCategoryTreeView::nodeTicked, this, [this](int node, bool checked) {
        mode.tree.setChecked(node, checked);
        mode.tvwCategory_NodeCheck(node);
        showState();
    });
    connect(tvwCategory, &WidgetCategoryTreeView::nodeClicked, this, [this](int node) {
        mode.tvwCategory_NodeToggle(node);
        showState();
    });

    // The description, time and question count.
    lblAdaptive = new QPlainTextEdit(this);
    lblAdaptive->setObjectName(QStringLiteral("lblAdaptive"));
    lblAdaptive->setReadOnly(true);
    lblAdaptive->setTextInteractionFlags(Qt::NoTextInteraction);
    lblAdaptive->setFocusPolicy(Qt::TabFocus);
    lblAdaptive->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lblAdaptive->setContextMenuPolicy(Qt::NoContextMenu);
    lblAdaptive->setMinimumHeight(90);
    frmTime = new QGroupBox(QStringLiteral("Time"), this);
    frmTime->setObjectName(QStringLiteral("frmTime"));
    lblTimeAllowed = new QLabel(frmTime);
    lblTimeAllowed->setObjectName(QStringLiteral("lblTimeAllowed"));
    m_minutes = new QLabel(QStringLiteral("minutes"), frmTime);
    auto* timeLayout = new QHBoxLayout(frmTime);
    timeLayout->setContentsMargins(10, 2, 10, 4);
    timeLayout->addWidget(lblTimeAllowed);
    timeLayout->addWidget(m_minutes);
    timeLayout->addStretch();
    frmQues = new QGroupBox(QStringLiteral("Questions"), this);
    frmQues->setObjectName(QStringLiteral("frmQues"));
    lstQues = new QListWidget(frmQues);
    lstQues->setObjectName(QStringLiteral("lstQues"));
    lstQues->setSelectionMode(QAbstractItemView::SingleSelection);
    lstQues->setUniformItemSizes(true);
    lstQues->setMinimumHeight(72);
    connect(lstQues, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < int(mode.lstQues.items.size()))
            mode.lstQues.selected = row;
    });
    auto* quesLayout = new QVBoxLayout(frmQues);
    quesLayout->setContentsMargins(6, 2, 6, 6);
    quesLayout->addWidget(lstQues);

    // The bottom row.
    cmdClearHistory = new QPushButton(QStringLiteral("Clear History"), this);
    cmdClearHistory->setObjectName(QStringLiteral("cmdClearHistory"));
    cmdNotes = new QPushButton(QStringLiteral("Notes"), this);
    cmdNotes->setObjectName(QStringLiteral("cmdNotes"));
    connect(cmdClearHistory, &QPushButton::clicked, this, &frmmain::mnuclearHistory_Click);
    connect(cmdNotes, &QPushButton::clicked, this, &frmmain::mnuNotes_Click);
    const char* const startExitNames[] = {"Image6_0", "Image6_1", "Image6_2", "Image6_3"};
    const char* const startExitCaptions[] = {"Start", "Exit", "Start", "Exit"};
    std::array<QWidget*, 2> startExitPlaces{};
    for (size_t i = 0; i < 2; ++i) {
        startExitPlaces[i] = new QWidget(this);
        startExitPlaces[i]->setFixedSize(kStartExitPicture);
    }
    for (size_t i = 0; i < Image6.size(); ++i) {
        Image6[i] = new WidgetPicture(QLatin1String(startExitNames[i]), QLatin1String(startExitCaptions[i]),
                                      startExitPlaces[i % 2]);
        Image6[i]->setFixedSize(kStartExitPicture);
        Image6[i]->move(0, 0);
    }
    // Start and Exit show their keys under them and in their tips.
    const char* const startExitKeys[] = {"Alt+E", "Alt+X"};
    for (size_t i = 0; i < Image6.size(); ++i)
        Image6[i]->setToolTip(QStringLiteral("%1 (%2)").arg(Image6[i]->caption(), QLatin1String(startExitKeys[i % 2])));
    for (size_t i = 0; i < 2; ++i) {
        m_startExitKeys[i] = new QLabel(QLatin1String(startExitKeys[i]), this);
        m_startExitKeys[i]->setObjectName(QLatin1String(i == 0 ? "lblStartKey" : "lblExitKey"));
        m_startExitKeys[i]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    for (int i = 0; i < 4; ++i)
        connect(Image6[size_t(i)], &WidgetPicture::clicked, this, [this, i] { Image6_Click(i % 2); });
    connect(Image6[2], &WidgetPicture::entered, this, [this] { showStartExitTwins(true, false); });
    connect(Image6[3], &WidgetPicture::entered, this, [this] { showStartExitTwins(false, true); });
    connect(Image6[0], &WidgetPicture::left, this, [this] { showStartExitTwins(false, false); });
    connect(Image6[1], &WidgetPicture::left, this, [this] { showStartExitTwins(false, false); });
    showStartExitTwins(false, false);

    auto* start = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_E), this);
    connect(start, &QShortcut::activated, this, [this] { Image6_Click(0); });
    auto* exit = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_X), this);
    connect(exit, &QShortcut::activated, this, [this] { Image6_Click(1); });

    // Layout: the menu strip, the exam's name, three columns, the bottom row.
    auto* header = new QHBoxLayout;
    header->setContentsMargins(18, 2, 18, 4);
    header->setSpacing(14);
    header->addWidget(imgLogo, 0, Qt::AlignVCenter);
    header->addWidget(lblExamName, 1, Qt::AlignVCenter);
    auto* right = new QVBoxLayout;
    right->setSpacing(8);
    right->addWidget(lblAdaptive, 1);
    right->addWidget(frmTime);
    right->addWidget(frmQues, 1);
    m_rightColumn = new QWidget(this);
    m_rightColumn->setLayout(right);
    right->setContentsMargins(0, 0, 0, 0);
    Frame5->setFixedWidth(kModePicture.width() + 28);
    auto* body = new QHBoxLayout;
    body->setContentsMargins(14, 4, 14, 4);
    body->setSpacing(12);
    body->addWidget(Frame5);
    body->addWidget(tvwCategory, 1);
    body->addWidget(m_rightColumn);
    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(14, 6, 14, 4);
    bottom->setSpacing(10);
    bottom->addWidget(cmdClearHistory);
    bottom->addWidget(cmdNotes);
    bottom->addStretch();
    for (size_t i = 0; i < 2; ++i) {
        auto* column = new QVBoxLayout;
        column->setSpacing(1);
        column->addWidget(startExitPlaces[i]);
        column->addWidget(m_startExitKeys[i]);
        bottom->addLayout(column);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_menuArea);
    layout->addLayout(header);
    layout->addLayout(body, 1);
    layout->addLayout(bottom);

    // Each of Start and Exit is one stop: its highlighted twin takes its
    // place (and the focus) while the pointer is over it.
    const QWidget* const tabOrder[] = {Image3[3], Image3[1],   Image2[1],   Option1,   Option2,
                                       Option3,   tvwCategory, lblAdaptive, lstQues,   cmdClearHistory,
                                       cmdNotes,  Image6[2],   Image6[0],   Image6[3], Image6[1]};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(const_cast<QWidget*>(tabOrder[i - 1]), const_cast<QWidget*>(tabOrder[i]));
}

void frmmain::applyLook()
{
    const QColor text = colourOf(gMain.gMenuForeColor, kText);
    const QColor accent = colourOf(gMain.gMenuForeColorSelected, kAccent);
    setStyleSheet(styleSheetFor(text, accent));
    for (WidgetPicture* chosen : {Image3[0], Image3[2], Image2[0], Image6[0], Image6[1]})
        chosen->setFallbackColours(accent, Qt::white);
    for (WidgetPicture* button : {Image3[1], Image3[3], Image2[1], Image6[2], Image6[3]})
        button->setFallbackColours(QColor(0xea, 0xf3, 0xfc), text);
}

void frmmain::sizeToScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // Room for the frame the window system adds.
    const QSize size(std::min(kDesignWidth, available.width() - 24), std::min(kDesignHeight, available.height() - 48));
    setFixedSize(size);
    // A narrow screen narrows the description column first, leaving the tree its room.
    m_rightColumn->setFixedWidth(size.width() >= 960 ? 250 : 200);
    move(available.center() - QPoint(size.width() / 2, size.height() / 2 + 12));
}
void frmmain::loadPictures()
{
    const struct {
        WidgetPicture* target;
        const char* file;
    } pictures[] = {
        {Image3[2], "pretest.jpg"},       {Image3[0], "adaptive.jpg"},       {Image2[0], "simulated.jpg"},
        {Image3[3], "pretestButton.jpg"}, {Image3[1], "practiceButton.jpg"}, {Image2[1], "simulatedButton.jpg"},
        {Image6[0], "start.jpg"},         {Image6[1], "exit.jpg"},           {Image6[2], "startDim.jpg"},
        {Image6[3], "exitDim.jpg"},
    };
    for (const auto& [target, file] : pictures)
        target->setPicture(picture(QLatin1String(file)));
    m_background = picture(QStringLiteral("bgMainMenu.jpg"));
    m_pullDownPicture = picture(QStringLiteral("menuBgroundold.jpg"));
    m_rowIconPicture = picture(QStringLiteral("arrow.jpg"));
    const QString icon = programFile(gLogin.gIconPath + QStringLiteral("/icon1.ico"));
    if (QFileInfo::exists(icon))
        setWindowIcon(QIcon(icon));

    // The exam's own logo beside its database, whatever the case of its name.
    QString folder = gLogin.gExamDbPath;
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    folder = folder.left(std::max(0, int(folder.lastIndexOf(QLatin1Char('/')))));
    const QString logoFile = folder.isEmpty() ? QString() : findFileIgnoringCase(folder, QStringLiteral("logo.jpg"));
    // A stranger's file: read only when it is a regular picture within the
    // bound, never opened by name by the picture decoder.
    QPixmap logo;
    if (!logoFile.isEmpty()) {
        const exam_file::Read file = exam_file::read(logoFile, exam_file::Kind::Picture);
        if (file)
            logo.loadFromData(file.bytes);
        else
            WriteLog(file.refusal + QStringLiteral(" : Form_Load : frmMain ") + logDate());
    }
    if (logo.isNull()) {
        imgLogo->clear();
        imgLogo->hide();
    } else {
        imgLogo->setPixmap(logo.scaled(kLogoMax, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        imgLogo->show();
    }
}
