#include "wizard/form_vg.h"

#include "appearance/step3_panel.h"
#include "core/product.h"
#include "output/page_writer.h"
#include "output/step4_panel.h"
#include "selection/step1_panel.h"
#include "selection/step2_panel.h"
#include "tutor/form_tutor.h"
#include "tutor/tutor_hints.h"
#include "ui/picture.h"
#include "ui/prompts.h"
#include "ui/ui_kit.h"
#include "wizard/about_panel.h"
#include "wizard/completion_panel.h"
#include "wizard/step_checks.h"

#include <QCloseEvent>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

struct ButtonPlace
{
    const char16_t* caption;
    QRect rect;
};

// cmdButtons by index: the wizard row along the bottom, Tutor and About at the top right.
const std::array<ButtonPlace, formVG::kButtonCount> kButtonPlaces{{
    {u"&Exit", twipsRect(120, 3960, 972, 372)},
    {u"<< &Back", twipsRect(2520, 3960, 972, 372)},
    {u"&Next >>", twipsRect(3600, 3960, 972, 372)},
    {u"&Restart", twipsRect(4680, 3960, 972, 372)},
    {u"&Finish", twipsRect(4680, 3960, 972, 372)},
    {u"&Tutor", twipsRect(4920, 360, 732, 252)},
    {u"&About", twipsRect(4920, 120, 732, 252)},
}};

// frmStep's tab indexes by panel; all panels share one rectangle.
constexpr std::array<int, formVG::kPanelCount> kPanelTabIndex{7, 8, 9, 10, 11, 57};
constexpr QRect kPanelRect = twipsRect(120, 720, 5532, 3132);

// Where the main window's and the tutor's client areas were designed to open on the screen:
// the tutor stands to the right of the main window.
constexpr int kFormLeft = 1584;
constexpr int kFormTop = 1572;
constexpr int kTutorLeft = 7476;
constexpr int kTutorTop = 1296;

} // namespace

formVG::formVG(const QString& startDirectory, Prompts* prompts, QWidget* parent)
    : QWidget(parent), m_prompts(prompts)
{
    if (m_prompts == nullptr) {
        m_ownPrompts = std::make_unique<QtPrompts>();
        m_prompts = m_ownPrompts.get();
    }
    buildWindow(startDirectory);
    Form_Load();
}

formVG::~formVG() = default;

void formVG::buildWindow(const QString& startDirectory)
{
    setObjectName(u"formVG"_s);
    setFixedSize(px(5784), px(4476));
    setWindowIcon(QIcon(u":/vignetta/vignetta.png"_s));
    setFont(windowFont(font()));

    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonPlace& place = kButtonPlaces[static_cast<std::size_t>(i)];
        m_cmdButtons[static_cast<std::size_t>(i)] = makeButton(
            this, memberName(u"cmdButtons", i), QString::fromUtf16(place.caption), place.rect, i);
        connect(m_cmdButtons[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { cmdButtons_Click(i); });
    }
    // Restart lies on Finish, in front of it, and shows only on the completion panel.
    m_cmdButtons[kRestart]->raise();

    m_step1 = new Step1Panel(startDirectory, this);
    m_step2 = new Step2Panel(this);
    m_step3 = new Step3Panel(this);
    m_step4 = new Step4Panel(this);
    m_completion = new CompletionPanel(this);
    m_about = new AboutPanel(this);
    m_frmStep = {m_step1, m_step2, m_step3, m_step4, m_completion, m_about};
    for (int i = 0; i < kPanelCount; ++i)
        placeControl(m_frmStep[static_cast<std::size_t>(i)], memberName(u"frmStep", i), kPanelRect,
                     kPanelTabIndex[static_cast<std::size_t>(i)]);

    makePicture(this, u"Image3"_s, u":/vignetta/mark.png"_s, twipsRect(240, 120, 540, 540),
                PictureBorder::None, u"Vignetta mark"_s);
    makePicture(this, u"Image2"_s, u":/vignetta/title.png"_s, twipsRect(1560, 120, 2508, 540),
                PictureBorder::Sunken, u"Vignetta"_s);

    connect(m_step1, &Step1Panel::directoryError, this, &formVG::warn);
    connect(m_step3, &Step3Panel::colorRequested, this, &formVG::cmdColor_Click);
    connect(m_about, &AboutPanel::okPressed, this, &formVG::cmdOk_Click);
    chainTabOrder();
}

void formVG::chainTabOrder()
{
    QList<QWidget*> controls;
    const QList<QWidget*> all = findChildren<QWidget*>();
    for (QWidget* w : all) {
        if (w->property(kTabIndexProperty).isValid() && w->focusPolicy() != Qt::NoFocus)
            controls.append(w);
    }
    std::stable_sort(controls.begin(), controls.end(), [](QWidget* a, QWidget* b) {
        return a->property(kTabIndexProperty).toInt() < b->property(kTabIndexProperty).toInt();
    });
    for (qsizetype i = 1; i < controls.size(); ++i)
        setTabOrder(controls[i - 1], controls[i]);
}

void formVG::bringToFront(int panel)
{
    // The panel comes to the front over the others. Those behind are also taken out of view,
    // so that keyboard focus and screen readers only meet the panel the user sees.
    for (int i = 0; i < kPanelCount; ++i)
        m_frmStep[static_cast<std::size_t>(i)]->setVisible(i == panel);
    m_frmStep[static_cast<std::size_t>(panel)]->raise();
    m_frontPanel = panel;
}

void formVG::warn(const QString& text)
{
    m_prompts->showMessage(this, {.title = QString::fromUtf16(kWarningTitle),
                                  .text = text,
                                  .icon = QMessageBox::Warning,
                                  .buttons = QMessageBox::Ok});
}

void formVG::SetDefaults()
{
    setWindowTitle(QString::fromLatin1(product::kWindowTitle));
    m_step4->setDefaults();
    m_step3->setDefaults();
}

void formVG::Form_Load()
{
    SetDefaults();
    m_state.iStep = kStep1;
    ShowFrame();
    Check_iStep();
}

void formVG::Check_iStep()
{
    const int step = m_state.iStep;
    m_cmdButtons[kBack]->setEnabled(step != kStep1 && step != kCompletion);
    m_cmdButtons[kNext]->setEnabled(step <= kStep3);
    m_cmdButtons[kFinish]->setEnabled(step >= kStep4);
    m_cmdButtons[kRestart]->setVisible(step == kCompletion);
}

void formVG::ShowFrame()
{
    bringToFront(m_state.iStep);
}

bool formVG::CompleteThisStep()
{
    // Each step's values are read, checked and only then stored.
    std::optional<QString> problem = positionProblem(m_state.iStep);
    switch (m_state.iStep) {
    case kStep1:
        problem = step1Problem(m_step1->fileCount());
        if (!problem) {
            m_state.store(m_step1->Get_Step1_Info());
            m_step2->FillList(m_step1->fileNames());
        }
        break;
    case kStep2:
        problem = step2Problem(m_step2->selectedCount());
        if (!problem)
            m_state.store(m_step2->Get_Step2_Info());
        break;
    case kStep3: {
        Step3Values values = m_step3->Get_Step3_Info();
        problem = step3Problem(values, m_step2->selectedCount());
        if (!problem)
            m_state.store(std::move(values));
        break;
    }
    case kStep4:
        m_state.store(m_step4->Get_Step4_Info());
        m_completion->setFileName(m_state.sFileName);
        if (m_state.bTutorOn) {
            m_state.bTutorOn = false;
            TutorOff();
        }
        break;
    default:
        break;
    }
    if (problem) {
        warn(*problem);
        return false;
    }
    return true;
}

void formVG::DoNext()
{
    // Step 1 is completed on the whole listing of its directory: while one is being read, Next
    // waits for it with the busy cursor, and goes on once it is there.
    if (m_state.iStep == kStep1 && m_step1->isListing()) {
        m_step1->whenListed([this](bool listed) {
            if (listed && m_state.iStep == kStep1 && m_frontPanel == kStep1)
                DoNext();
        });
        return;
    }
    if (!CompleteThisStep())
        return;
    ++m_state.iStep;
    Check_iStep();
    ShowFrame();
    if (m_state.bTutorOn)
        ShowTutor();
}

void formVG::DoBack()
{
    --m_state.iStep;
    Check_iStep();
    ShowFrame();
    if (m_state.bTutorOn)
        ShowTutor();
}

void formVG::DoFinish()
{
    if (!CompleteThisStep())
        return;
    // A page that could not be written keeps the user on Step 4 with every entry, to correct
    // the name and try again.
    if (!WriteFile())
        return;
    ++m_state.iStep;
    Check_iStep();
    ShowFrame();
}

void formVG::DoRestart()
{
    Form_Load();
}

void formVG::DoExit()
{
    if (m_exiting)
        return;
    m_exiting = true;
    if (m_state.bTutorOn)
        TutorOff();
    close();
    Q_EMIT exitRequested();
}

void formVG::closeEvent(QCloseEvent* event)
{
    // Closing the window through its frame ends the program just as Exit does.
    if (!m_exiting) {
        m_exiting = true;
        if (m_state.bTutorOn)
            TutorOff();
        Q_EMIT exitRequested();
    }
    event->accept();
}

void formVG::cmdButtons_Click(int index)
{
    switch (index) {
    case kExit:
        DoExit();
        break;
    case kBack:
        DoBack();
        break;
    case kNext:
        DoNext();
        break;
    case kRestart:
        DoRestart();
        break;
    case kFinish:
        DoFinish();
        break;
    case kTutor:
        DoTutor();
        break;
    case kAbout:
        DoAbout();
        break;
    default:
        break;
    }
}

void formVG::DoAbout()
{
    for (int i = kBack; i <= kAbout; ++i)
        m_cmdButtons[static_cast<std::size_t>(i)]->setEnabled(false);
    bringToFront(kAboutPanel);
}

void formVG::cmdOk_Click()
{
    m_cmdButtons[kTutor]->setEnabled(true);
    m_cmdButtons[kAbout]->setEnabled(true);
    m_cmdButtons[kRestart]->setEnabled(true);
    Check_iStep();
    ShowFrame();
}

void formVG::cmdColor_Click(int index)
{
    // One dialog serves both buttons and starts on the colour it last reported. A cancelled
    // dialog changes nothing.
    const std::optional<QColor> chosen = m_prompts->chooseColor(this, m_commonDialog1Color);
    if (!chosen)
        return;
    m_commonDialog1Color = *chosen;
    m_step3->setSampleColor(index, *chosen);
}

bool formVG::WriteFile()
{
    const QString directory = m_step1->filePath();
    const SaveResult saved = savePage(directory, m_state.sFileName, renderPage(m_state));
    if (!saved.ok) {
        warn(u"The page \""_s + QDir::toNativeSeparators(pagePath(directory, m_state.sFileName)) +
             u"\" could not be written: "_s + saved.error);
    }
    return saved.ok;
}

void formVG::DoTutor()
{
    if (m_state.bTutorOn) {
        TutorOff();
    } else {
        TutorOn();
        m_formTutor->show();
    }
}

void formVG::TutorOn()
{
    m_state.bTutorOn = true;
    ShowTutor();
}

void formVG::ShowTutor()
{
    if (!m_formTutor) {
        // A new tutor window opens beside the main window, level with its upper part.
        const QPoint origin =
            geometry().topLeft() + QPoint(px(kTutorLeft - kFormLeft), px(kTutorTop - kFormTop));
        m_formTutor = std::make_unique<FormTutor>(origin);
        connect(m_formTutor.get(), &FormTutor::closedByUser, this, &formVG::tutorClosedByUser);
    }
    // The completion panel has no hint: the window keeps whatever it shows.
    if (const std::optional<QString> hint = tutorHint(m_state.iStep))
        m_formTutor->lblTutor()->setText(*hint);
    m_formTutor->fitToLabel();
    // The hint stands beside the wizard: keys keep going to the wizard's window.
    const bool wizardActive = isActiveWindow();
    m_formTutor->show();
    if (wizardActive)
        activateWindow();
}

void formVG::TutorOff()
{
    if (m_formTutor) {
        m_formTutor->hide();
        m_formTutor.reset();
    }
    m_state.bTutorOn = false;
}

void formVG::tutorClosedByUser()
{
    // Closing the tutor through its frame turns it off; the window goes once its close is done.
    m_state.bTutorOn = false;
    if (m_formTutor)
        m_formTutor.release()->deleteLater();
}

} // namespace vignetta
