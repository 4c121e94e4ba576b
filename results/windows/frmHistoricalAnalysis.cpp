#include "results/windows/frmHistoricalAnalysis.h"

#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/windows/WidgetSkinning.h"
#include "platform/db/Connection.h"
#include "platform/ui/DefaultInstance.h"
#include "results/ExamResult.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <exception>

namespace {

int px(double units)
{
    return int(std::lround(units / kLengthUnitsPerPixel));
}

constexpr double units(int pixels)
{
    return double(pixels) * kLengthUnitsPerPixel;
}

// The pass rows inside the pass frame, in pixels.
constexpr int kPassLeft = 20;
constexpr int kPassFirstTop = 24;
constexpr int kPassRowPitch = 46;
constexpr int kCaptionHeight = 16;
constexpr int kPassBarHeight = 20;
constexpr int kCategoryBarHeight = 17;
// The category details box stands right of the category bars.
constexpr int kCategoryDetailsLeft = 6300;

constexpr std::array<double, 3> kThresholds = {0.85, 0.90, 0.95};

const char* const kWindow = ":frmHistoricalAnalysis";

void debugLine(const QString& text)
{
    if (gStartup.gDebug == 1)
        WriteLog(text + logDate());
}

// Group box titles read "&" as a mnemonic: doubled, it shows as written.
QString titleText(const QString& text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('&'), QLatin1String("&&"));
    return doubled;
}

QLabel* plainLabel(const QString& text, const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

const char* segmentHandler(SegmentBar::Segment segment)
{
    switch (segment) {
    case SegmentBar::Correct:
        return "lblCatCorr_Click";
    case SegmentBar::Wrong:
        return "lblCatW_Click";
    case SegmentBar::Full:
        break;
    }
    return "lblCatTot_Click";
}

PassSegment passSegment(SegmentBar::Segment segment)
{
    switch (segment) {
    case SegmentBar::Correct:
        return PassSegment::Correct;
    case SegmentBar::Wrong:
        return PassSegment::Wrong;
    case SegmentBar::Full:
        break;
    }
    return PassSegment::Full;
}

} // namespace

void frmHistoricalAnalysis::showModal(QWidget* owner)
{
    frmHistoricalAnalysis& window = load(owner);
    window.exec();
    window.unload();
}

frmHistoricalAnalysis& frmHistoricalAnalysis::load(QWidget* owner)
{
    // Loaded afresh at each opening.
    DefaultInstance<frmHistoricalAnalysis>::discard(DefaultInstance<frmHistoricalAnalysis>::find());
    frmHistoricalAnalysis& window = DefaultInstance<frmHistoricalAnalysis>::get();
    if (owner)
        window.setParent(owner, window.windowFlags() | Qt::Dialog);
    window.Form_Load();
    return window;
}

frmHistoricalAnalysis* frmHistoricalAnalysis::loaded()
{
    return DefaultInstance<frmHistoricalAnalysis>::find();
}

void frmHistoricalAnalysis::unload()
{
    hide();
    DefaultInstance<frmHistoricalAnalysis>::discard(this);
}

frmHistoricalAnalysis::frmHistoricalAnalysis() : QDialog(nullptr)
{
    setObjectName(QStringLiteral("frmHistoricalAnalysis"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    buildPassFrame();
    buildCategoryFrame();
    buildDetailsBox();
    auto* frame2Layout = new QVBoxLayout(Frame2);
    frame2Layout->addWidget(Frame3);
    frame2Layout->addWidget(Frame4, 1);

    image1 = new QPushButton(QStringLiteral("&Close"), this);
    image1->setObjectName(QStringLiteral("image1"));
    image1->setDefault(true);
    connect(image1, &QPushButton::clicked, this, &frmHistoricalAnalysis::image1_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(image1);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame2, 1);
    layout->addLayout(buttons);
    resize(px(10800), px(9900));
}

void frmHistoricalAnalysis::buildPassFrame()
{
    Frame3 = new QGroupBox(QStringLiteral("Overall Progress"), Frame2);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Frame3->setMouseTracking(true);
    Frame3->installEventFilter(this);
    const int barPixels = px(kPassBarLength);
    for (int i = 0; i < 3; ++i) {
        const int top = kPassFirstTop + i * kPassRowPitch;
        lblPassCaption[size_t(i)] =
            plainLabel(QStringLiteral("Pass %1").arg(i + 1), QStringLiteral("lblPassCaption%1").arg(i + 1), Frame3);
        lblPassCaption[size_t(i)]->setGeometry(kPassLeft, top, 80, kCaptionHeight);
        // The thresholds of the exam window's pass roll-over, marked on each bar.
        const double fraction = kThresholds[size_t(i)];
        QLabel* threshold = plainLabel(QStringLiteral("%1%").arg(std::lround(fraction * 100)),
                                       QStringLiteral("lblPassThreshold%1").arg(i + 1), Frame3);
        threshold->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        const int markerX = kPassLeft + int(std::lround(fraction * barPixels));
        threshold->setGeometry(markerX - 20, top, 40, kCaptionHeight);
        lblPassThreshold[size_t(i)] = threshold;

        auto* bar = new SegmentBar(kPassBarLength, kPassBarHeight, Frame3);
        bar->setObjectName(QStringLiteral("lblPass%1").arg(i + 1));
        bar->setMarker(fraction);
        bar->setGeometry(kPassLeft, top + kCaptionHeight + 2, barPixels, kPassBarHeight);
        const int pass = i + 1;
        connect(bar, &SegmentBar::segmentClicked, this,
                [this, pass](SegmentBar::Segment segment) { passBarClicked(pass, segment); });
        // Once over a pass bar, the window keeps the hand pointer.
        connect(bar, &SegmentBar::hovered, this, [this] { setCursor(Qt::PointingHandCursor); });
        lblPass[size_t(i)] = bar;
    }
    Frame3->setMinimumSize(kPassLeft * 2 + barPixels, kPassFirstTop + 3 * kPassRowPitch);
}

void frmHistoricalAnalysis::buildDetailsBox()
{
    static const char* const captions[] = {
        "Number Correct:",  "Number Incorrect:",  "Number Unanswered:", "Total Number:",
        "Percent Correct:", "Percent Incorrect:", "Percent Unanswered:"};
    fraDetails = new QFrame(Frame2);
    fraDetails->setObjectName(QStringLiteral("fraDetails"));
    fraDetails->setFrameShape(QFrame::Box);
    auto* grid = new QGridLayout(fraDetails);
    grid->setContentsMargins(6, 4, 8, 6);
    grid->setVerticalSpacing(1);
    lblProgressDetails[0] = plainLabel(QString(), QStringLiteral("lblProgressDetails0"), fraDetails);
    QFont heading = lblProgressDetails[0]->font();
    heading.setBold(true);
    lblProgressDetails[0]->setFont(heading);
    grid->addWidget(lblProgressDetails[0], 0, 0, 1, 2);
    for (int i = 1; i <= 7; ++i) {
        lblProgressDetails[size_t(i)] =
            plainLabel(QLatin1String(captions[i - 1]), QStringLiteral("lblProgressDetails%1").arg(i), fraDetails);
        lblProgressDetails[size_t(i + 7)] =
            plainLabel(QString(), QStringLiteral("lblProgressDetails%1").arg(i + 7), fraDetails);
        grid->addWidget(lblProgressDetails[size_t(i)], i, 0);
        grid->addWidget(lblProgressDetails[size_t(i + 7)], i, 1);
    }
    grid->setColumnMinimumWidth(1, 50);
    fraDetails->adjustSize();
    fraDetails->hide();

    picCatDetails = new QFrame(m_rows);
    picCatDetails->setObjectName(QStringLiteral("picCatDetails"));
    picCatDetails->setFrameShape(QFrame::Box);
    auto* catGrid = new QGridLayout(picCatDetails);
    catGrid->setContentsMargins(6, 4, 8, 4);
    catGrid->setVerticalSpacing(1);
    lblProgressDetails[16] =
        plainLabel(QStringLiteral("Total Questions Asked:"), QStringLiteral("lblProgressDetails16"), picCatDetails);
    lblProgressDetails[15] =
        plainLabel(QStringLiteral("Number Correct:"), QStringLiteral("lblProgressDetails15"), picCatDetails);
    lblProgressDetails[17] =
        plainLabel(QStringLiteral("Number Wrong:"), QStringLiteral("lblProgressDetails17"), picCatDetails);
    const std::array<QLabel*, 3> catCaptions = {lblProgressDetails[16], lblProgressDetails[15], lblProgressDetails[17]};
    for (int i = 0; i < 3; ++i) {
        CatProgress[size_t(i)] = plainLabel(QString(), QStringLiteral("CatProgress%1").arg(i), picCatDetails);
        catGrid->addWidget(catCaptions[size_t(i)], i, 0);
        catGrid->addWidget(CatProgress[size_t(i)], i, 1);
    }
    catGrid->setColumnMinimumWidth(1, 40);
    picCatDetails->adjustSize();
    picCatDetails->hide();
}

void frmHistoricalAnalysis::buildCategoryFrame()
{
    Frame4 = new QGroupBox(QStringLiteral("Progress Per Category"), Frame2);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    SkinLabel1 = plainLabel(QStringLiteral("Click on any bar to see details. "), QStringLiteral("SkinLabel1"), Frame4);
    vsView = new QScrollArea(Frame4);
    vsView->setObjectName(QStringLiteral("vsView"));
    vsView->setWidgetResizable(true);
    vsView->setMinimumHeight(px(3600));
    m_rows = new QWidget;
    m_rows->setObjectName(QStringLiteral("vsViewRows"));
    m_rows->setMouseTracking(true);
    m_rows->installEventFilter(this);
    auto* rowsLayout = new QVBoxLayout(m_rows);
    // The first row at the top of the scrolling area; every row a name line,
    // a little space, the bar line, a little space.
    rowsLayout->setContentsMargins(9, 0, 9, 9);
    rowsLayout->setSpacing(px(50));
    rowsLayout->addStretch();
    vsView->setWidget(m_rows);
    auto* frame4Layout = new QVBoxLayout(Frame4);
    frame4Layout->addWidget(SkinLabel1);
    frame4Layout->addWidget(vsView, 1);
}

void frmHistoricalAnalysis::Form_Load()
{
    debugLine(QStringLiteral("Loading form :Form_Load") + QLatin1String(kWindow));
    skinWindow(this);
    setStyleSheet(styleSheet()
                  + QStringLiteral("\n#Frame2, #Frame3, #Frame4, #vsView, #vsViewRows "
                                   "{ background-color: rgb(239, 239, 239); }"
                                   "\n#fraDetails, #picCatDetails { background-color: rgb(225, 190, 92); }"));
    Frame2->setTitle(titleText(gLogin.gExamDesc));
    setWindowTitle(gLogin.gAppTitle + QStringLiteral(": Historical Analysis"));
    // The details boxes take their size from their texts in the skin's font.
    ensurePolished();
    fraDetails->adjustSize();
    picCatDetails->adjustSize();
    mnuhistoryanalysis_Click();
    debugLine(QStringLiteral("Displayed historical analysis :Form_Load") + QLatin1String(kWindow));
}

void frmHistoricalAnalysis::mnuhistoryanalysis_Click()
{
    debugLine(QStringLiteral("Enter function historical analysis :mnuhistoryanalysis_Click") + QLatin1String(kWindow));
    try {
        db::Connection exam = db::Connection::open(gLogin.gExamConnStr);
        m_summary = readPassSummary(exam, loggedInUserCode());
    } catch (const std::exception& error) {
        reportError(error, "mnuhistoryanalysis_Click");
    }
    for (size_t i = 0; i < lblPass.size(); ++i)
        lblPass[i]->setLengths(m_summary.rows[i].correctLength, m_summary.rows[i].wrongLength);
    ShowMeUrCategory();
    Frame2->setTitle(titleText(gLogin.gExamDesc));
    debugLine(QStringLiteral("End of function historical analysis :mnuhistoryanalysis_Click") + QLatin1String(kWindow));
}

void frmHistoricalAnalysis::ShowMeUrCategory()
{
    debugLine(QStringLiteral("Display Category :ShowMeUrCategory") + QLatin1String(kWindow));
    try {
        db::Connection exam = db::Connection::open(gLogin.gExamConnStr);
        m_categories = readCategoryProgress(exam, loggedInUserCode(), kAnalysisPass);
    } catch (const std::exception& error) {
        reportError(error, "ShowMeUrCategory");
    }
    for (const CategoryProgress& row : m_categories)
        addCategoryRow(row);
    m_rows->adjustSize();
    debugLine(QStringLiteral("End of function Displaying Category :ShowMeUrCategory") + QLatin1String(kWindow));
}

void frmHistoricalAnalysis::addCategoryRow(const CategoryProgress& row)
{
    const int index = int(lblCat.size());
    QLabel* name = plainLabel(row.name, QStringLiteral("lblCat%1").arg(index), m_rows);
    auto* bar = new SegmentBar(kCategoryBarLength, kCategoryBarHeight, m_rows);
    bar->setObjectName(QStringLiteral("lblCatTot%1").arg(index));
    bar->setLengths(row.correctLength, row.wrongLength);
    connect(bar, &SegmentBar::segmentClicked, this, [this, index](SegmentBar::Segment segment) {
        debugLine(QStringLiteral("Begining of Function :") + QLatin1String(segmentHandler(segment))
                  + QLatin1String(kWindow));
        categoryBarClicked(index);
        debugLine(QStringLiteral("End of Function :") + QLatin1String(segmentHandler(segment))
                  + QLatin1String(kWindow));
    });
    auto* layout = static_cast<QVBoxLayout*>(m_rows->layout());
    // Before the closing stretch.
    layout->insertWidget(layout->count() - 1, name);
    layout->insertWidget(layout->count() - 1, bar, 0, Qt::AlignLeft);
    lblCat.push_back(name);
    lblCatTot.push_back(bar);
}

void frmHistoricalAnalysis::passBarClicked(int pass, SegmentBar::Segment segment)
{
    if (pass < 1 || pass > 3)
        return;
    const SegmentBar* bar = lblPass[size_t(pass - 1)];
    PassBarPlace place;
    place.frameLeft = units(Frame3->x());
    place.frameTop = units(Frame3->y());
    place.barTop = units(bar->y());
    place.barHeight = units(bar->height());
    place.clickedLeft = units(bar->x()) + bar->segmentLeft(segment);
    const QPoint at = passDetailsPosition(pass, passSegment(segment), place);
    showHistorDetails(pass, at.x(), at.y());
}

void frmHistoricalAnalysis::showHistorDetails(int pass, int x, int y)
{
    debugLine(QStringLiteral("Begining of Function :showHistorDetails") + QLatin1String(kWindow));
    if (const std::optional<PassDetails> details = passDetails(m_summary, pass)) {
        lblProgressDetails[0]->setText(details->heading);
        for (size_t i = 0; i < details->values.size(); ++i)
            lblProgressDetails[8 + i]->setText(details->values[i]);
    }
    // Sized to its texts as they stand, in the font in use.
    fraDetails->adjustSize();
    fraDetails->move(px(x), px(y));
    fraDetails->show();
    fraDetails->raise();
    debugLine(QStringLiteral("End of Function :showHistorDetails") + QLatin1String(kWindow));
}

void frmHistoricalAnalysis::categoryBarClicked(int row)
{
    if (row < 0 || row >= int(lblCatTot.size()) || row >= int(m_categories.size()))
        return;
    const CategoryProgress& category = m_categories[size_t(row)];
    CatProgress[0]->setText(QString::number(category.asked()));
    CatProgress[1]->setText(QString::number(category.correct));
    CatProgress[2]->setText(QString::number(category.wrong));
    picCatDetails->adjustSize();
    const SegmentBar* bar = lblCatTot[size_t(row)];
    // Right of the bars, inside the rows' area.
    const int left = std::max(0, std::min(px(kCategoryDetailsLeft), m_rows->width() - picCatDetails->width()));
    picCatDetails->move(left, categoryDetailsTop(bar->y(), bar->height(), picCatDetails->height(), m_rows->height()));
    picCatDetails->show();
    picCatDetails->raise();
    vsView->ensureWidgetVisible(picCatDetails, 0, 0);
}

bool frmHistoricalAnalysis::eventFilter(QObject* watched, QEvent* event)
{
    // Moving over an empty part of a section hides its details box.
    if (event->type() == QEvent::MouseMove && (watched == Frame3 || watched == m_rows)) {
        auto* widget = static_cast<QWidget*>(watched);
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (!widget->childAt(at))
            (watched == Frame3 ? fraDetails : picCatDetails)->hide();
    }
    return QDialog::eventFilter(watched, event);
}

void frmHistoricalAnalysis::reportError(const std::exception& error, const char* procedure)
{
    const QString text = QString::fromUtf8(error.what());
    WriteLog(text + QStringLiteral(" :") + QLatin1String(procedure) + QLatin1String(kWindow) + logDate());
    ShowMessage(commandFailureText(QStringLiteral("The history of this exam could not be read."),
                                   DatabaseFile::exam(db::Connection::pathFromConnectionString(gLogin.gExamConnStr)),
                                   error),
                gLogin.gAppName, OneButton, this);
}

void frmHistoricalAnalysis::image1_Click()
{
    accept();
}
