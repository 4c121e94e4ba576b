#include "results/windows/frmSimulatedResult.h"

#include "exam/ExamSession.h"
#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/ExamBank.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/windows/WidgetSkinning.h"
#include "platform/db/Connection.h"
#include "platform/ui/DefaultInstance.h"
#include "results/windows/WidgetResultBars.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <exception>

namespace {

constexpr int px(int units)
{
    return units / kLengthUnitsPerPixel;
}

// Group box titles read "&" as a mnemonic: doubled, it shows as written.
QString titleText(const QString& text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('&'), QLatin1String("&&"));
    return doubled;
}

QString textColour(bool passed)
{
    return passed ? QStringLiteral("color: rgb(0, 128, 0);") : QStringLiteral("color: rgb(255, 0, 0);");
}

} // namespace

void frmSimulatedResult::showResult(const ExamSession& session, QWidget* owner)
{
    frmSimulatedResult& window = load(session, owner);
    window.exec();
    window.unload();
}

frmSimulatedResult& frmSimulatedResult::load(const ExamSession& session, QWidget* owner)
{
    // Loaded afresh at each opening.
    DefaultInstance<frmSimulatedResult>::discard(DefaultInstance<frmSimulatedResult>::find());
    // The window comes up over the exam window: no unexpected activation.
    gGuard.gExamWindowActive = false;
    frmSimulatedResult& window = DefaultInstance<frmSimulatedResult>::get();
    if (owner)
        window.setParent(owner, window.windowFlags() | Qt::Dialog);
    window.Form_Load(resultSnapshot(session));
    return window;
}

frmSimulatedResult* frmSimulatedResult::loaded()
{
    return DefaultInstance<frmSimulatedResult>::find();
}

frmSimulatedResult::frmSimulatedResult() : QDialog(nullptr)
{
    setObjectName(QStringLiteral("frmSimulatedResult"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    Frame4 = new QGroupBox(this);
    Frame4->setObjectName(QStringLiteral("Frame4"));

    Frame1 = new QGroupBox(Frame4);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label1 = new QLabel(QStringLiteral("Your Score :"), Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    lblMyScore = new QLabel(Frame1);
    lblMyScore->setObjectName(QStringLiteral("lblMyScore"));
    Label2 = new QLabel(QStringLiteral("Passing Score :"), Frame1);
    Label2->setObjectName(QStringLiteral("Label2"));
    lblPassScore = new QLabel(Frame1);
    lblPassScore->setObjectName(QStringLiteral("lblPassScore"));
    lblMyScoreBar = new ScoreBar(Frame1);
    lblMyScoreBar->setObjectName(QStringLiteral("lblMyScoreBar"));
    auto* scores = new QGridLayout;
    scores->addWidget(Label1, 0, 0);
    scores->addWidget(lblMyScore, 0, 1);
    scores->addWidget(Label2, 1, 0);
    scores->addWidget(lblPassScore, 1, 1);
    scores->setColumnStretch(2, 1);
    auto* bar = new QHBoxLayout;
    bar->addSpacing(px(kScoreBarLeft));
    bar->addWidget(lblMyScoreBar);
    bar->addStretch();
    auto* frame1Layout = new QVBoxLayout(Frame1);
    frame1Layout->addLayout(scores);
    frame1Layout->addLayout(bar);

    Frame2 = new QGroupBox(QStringLiteral("Score Per Category"), Frame4);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    vsView = new QScrollArea(Frame2);
    vsView->setObjectName(QStringLiteral("vsView"));
    vsView->setWidgetResizable(true);
    vsView->setMinimumHeight(px(3000));
    // Over the rows the pointer is the plain arrow.
    vsView->setCursor(Qt::ArrowCursor);
    m_rows = new QWidget;
    m_rows->setObjectName(QStringLiteral("vsViewRows"));
    auto* rowsLayout = new QVBoxLayout(m_rows);
    rowsLayout->setSpacing(px(50));
    rowsLayout->addStretch();
    vsView->setWidget(m_rows);
    Label3 = new QLabel(QStringLiteral("Scroll mouse over category to see the details"), Frame2);
    Label3->setObjectName(QStringLiteral("Label3"));
    auto* frame2Layout = new QVBoxLayout(Frame2);
    frame2Layout->addWidget(vsView, 1);
    frame2Layout->addWidget(Label3);

    auto* frame4Layout = new QVBoxLayout(Frame4);
    frame4Layout->addWidget(Frame1);
    frame4Layout->addWidget(Frame2, 1);

    image1 = new QPushButton(QStringLiteral("&Close"), this);
    image1->setObjectName(QStringLiteral("image1"));
    image1->setDefault(true);
    connect(image1, &QPushButton::clicked, this, &frmSimulatedResult::image1_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(image1);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame4, 1);
    layout->addLayout(buttons);
    resize(px(9600), px(9000));
}

void frmSimulatedResult::Form_Load(const ResultSnapshot& snapshot)
{
    skinWindow(this);
    setStyleSheet(styleSheet()
                  + QStringLiteral("\n#Frame1, #Frame2, #Frame4, #vsView, #vsViewRows "
                                   "{ background-color: rgb(239, 239, 239); }"));

    const std::vector<ResultCategory> categories = readCategories(snapshot);
    m_result = computeExamResult(snapshot, categories, gLogin.gAppTitle);
    setWindowTitle(m_result.caption);
    Frame4->setTitle(titleText(snapshot.examName));

    if (categories.empty())
        addCategoryRow(QString(), nullptr); // the design-time row alone
    for (size_t n = 0; n < categories.size(); ++n)
        addCategoryRow(categories[n].name, &m_result.categories[n]);

    if (snapshot.isPretest()) {
        Frame1->hide();
        Frame2->setTitle(QStringLiteral("Pretest Results by Category"));
        Frame2->setMinimumHeight(px(6250));
        vsView->setMinimumHeight(px(5750));
    }

    lblPassScore->setText(m_result.passScoreText);
    lblMyScore->setText(m_result.scoreText);
    const QColor barColour = m_result.passed ? QColor(0, 255, 0) : QColor(255, 0, 0);
    lblMyScoreBar->setBar(m_result.scoreBarWidth, barColour);
    lblMyScore->setStyleSheet(textColour(m_result.passed));
    Label1->setStyleSheet(textColour(m_result.passed));
    lblMyScoreBar->setPassMarker(m_result.passMarkerLeft - kScoreBarLeft);
}

std::vector<ResultCategory> frmSimulatedResult::readCategories(const ResultSnapshot& snapshot)
{
    std::vector<ResultCategory> categories;
    try {
        db::Connection exam = db::Connection::open(snapshot.connectionString);
        ExamBank bank(exam);
        for (const db::Row& row : bank.categoryRows(false))
            categories.push_back(
                {wholeNumber(row.value(QStringLiteral("Qc_catcode"))), row.text(QStringLiteral("Qc_cat_desc"))});
    } catch (const std::exception& error) {
        const QString text = QString::fromUtf8(error.what());
        WriteLog(text + QStringLiteral(":Form_load: frmSimulatedResult: Date/Time ") + logDateTime());
        ShowMessage(commandFailureText(QStringLiteral("The categories of the result could not be read."),
                                       DatabaseFile::exam(db::Connection::pathFromConnectionString(
                                           snapshot.connectionString)),
                                       error),
                    gLogin.gAppName, OneButton, this);
    }
    return categories;
}

void frmSimulatedResult::addCategoryRow(const QString& name, const CategoryScore* score)
{
    auto* label = new QLabel(m_rows);
    label->setObjectName(QStringLiteral("lblCat%1").arg(lblCat.size()));
    // Data shown as written: "&" is no mnemonic here.
    label->setTextFormat(Qt::PlainText);
    label->setText(name);
    auto* bars = new CategoryBar(m_rows);
    bars->setObjectName(QStringLiteral("lblCatTot%1").arg(lblCatTot.size()));
    if (score) {
        bars->setCorrectLength(score->barWidth);
        bars->setToolTip(score->toolTip);
    }
    auto* layout = static_cast<QVBoxLayout*>(m_rows->layout());
    // Before the closing stretch.
    layout->insertWidget(layout->count() - 1, label);
    layout->insertWidget(layout->count() - 1, bars);
    lblCat.push_back(label);
    lblCatTot.push_back(bars);
}

void frmSimulatedResult::image1_Click()
{
    accept();
}

void frmSimulatedResult::unload()
{
    hide();
    DefaultInstance<frmSimulatedResult>::discard(this);
}
