// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wizard/form_vg.h"

#include "appearance/step3_panel.h"
#include "core/product.h"
#include "output/page_saver.h"
#include "output/page_writer.h"
#include "output/step4_panel.h"
#include "selection/step1_panel.h"
#include "selection/step2_panel.h"
#include "thumbnails/publish_job.h"
#include "tutor/form_tutor.h"
#include "tutor/tutor_hints.h"
#include "ui/picture.h"
#include "ui/prompts.h"
#include "ui/ui_kit.h"
#include "wizard/about_panel.h"
#include "wizard/completion_panel.h"
#include "wizard/finish_texts.h"
#include "wizard/step_checks.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QUrl>

#include <algorithm>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

struct ButtonPlace
{
    const char16_t* caption;
    QRect twips;
};

// cmdButtons by index: the wizard row along the bottom, Tutor and About at the top right.
constexpr std::array<ButtonPlace, formVG::kButtonCount> kButtonPlaces{{
    {u"&Exit", QRect(120, 3960, 972, 372)},
    {u"<< &Back", QRect(2520, 3960, 972, 372)},
    {u"&Next >>", QRect(3600, 3960, 972, 372)},
    {u"&Restart", QRect(4680, 3960, 972, 372)},
    {u"&Finish", QRect(4680, 3960, 972, 372)},
    {u"&Tutor", QRect(4920, 360, 732, 252)},
    {u"&About", QRect(4920, 120, 732, 252)},
}};

// frmStep's tab indexes by panel; all panels share one rectangle.
constexpr std::array<int, formVG::kPanelCount> kPanelTabIndex{7, 8, 9, 10, 11, 57};
constexpr QRect kPanelTwips(120, 720, 5532, 3132);

constexpr std::array kIconSizes{16, 24, 48, 64, 128, 256};

QString iconResource(int size)
{
    return u":/vignetta/icons/vignetta-"_s + QString::number(size) + u".png"_s;
}

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

formVG::~formVG()
{
    // A Finish under way stops here: pictures are no longer made, but a page being written is
    // written to the end first.
    if (m_publishJob != nullptr) {
        const bool busy = !m_progress;
        delete m_publishJob;
        if (busy)
            QApplication::restoreOverrideCursor();
    }
}

void formVG::buildWindow(const QString& startDirectory)
{
    // The pictures of the first frame are read while the window is built, off its thread.
    prefetchArtwork({u":/vignetta/mark.png"_s, u":/vignetta/title.png"_s});

    setObjectName(u"formVG"_s);
    // The designed colours and font come first, so that every control is made with them.
    setPalette(designedPalette());
    setFont(windowFont(font()));
    setFixedSize(px(5784), px(4476));

    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonPlace& place = kButtonPlaces[static_cast<std::size_t>(i)];
        m_cmdButtons[static_cast<std::size_t>(i)] =
            makeButton(this, memberName(u"cmdButtons", i), QString::fromUtf16(place.caption),
                       twipsRect(place.twips), i);
        connect(m_cmdButtons[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { cmdButtons_Click(i); });
    }
    // Restart lies on Finish, in front of it, and shows only on the completion panel.
    m_cmdButtons[kRestart]->raise();
    m_cmdButtons[kRestart]->installEventFilter(this);

    m_step1 = new Step1Panel(startDirectory, this);
    m_frmStep[kStep1] = m_step1;
    placePanel(kStep1);

    makePicture(this, u"Image3"_s, u":/vignetta/mark.png"_s, twipsRect(240, 120, 540, 540),
                PictureBorder::None, u"Vignetta mark"_s);
    makePicture(this, u"Image2"_s, u":/vignetta/title.png"_s, twipsRect(1560, 120, 2508, 540),
                PictureBorder::Sunken, u"Vignetta"_s);

    connect(m_step1, &Step1Panel::directoryError, this, &formVG::warn);
    chainTabOrder();
}

void formVG::placePanel(int panel)
{
    placeControl(m_frmStep[static_cast<std::size_t>(panel)], memberName(u"frmStep", panel),
                 twipsRect(kPanelTwips), kPanelTabIndex[static_cast<std::size_t>(panel)]);
}

void formVG::buildPanels()
{
    if (m_step2 != nullptr)
        return;
    // Made out of view: only the panel in front shows.
    m_step2 = new Step2Panel(this);
    m_step3 = new Step3Panel(this);
    m_step4 = new Step4Panel(this);
    m_completion = new CompletionPanel(this);
    m_about = new AboutPanel(this);
    m_frmStep = {m_step1, m_step2, m_step3, m_step4, m_completion, m_about};
    // In the place among the window's controls they would have had if made with Step 1: behind
    // the pictures, and in that order for screen readers.
    auto* const pictures = findChild<QWidget*>(u"Image3"_s, Qt::FindDirectChildrenOnly);
    for (int i = kStep2; i < kPanelCount; ++i) {
        QGroupBox* const frame = m_frmStep[static_cast<std::size_t>(i)];
        frame->hide();
        placePanel(i);
        if (pictures != nullptr)
            frame->stackUnder(pictures);
    }

    connect(m_step3, &Step3Panel::colorRequested, this, &formVG::cmdColor_Click);
    // Enter in the page-name box does what Finish does.
    connect(m_step4, &Step4Panel::nameEntered, this, [this] {
        if (m_cmdButtons[kFinish]->isEnabled())
            cmdButtons_Click(kFinish);
    });
    connect(m_completion, &CompletionPanel::openRequested, this, &formVG::cmdOpen_Click);
    connect(m_about, &AboutPanel::okPressed, this, &formVG::cmdOk_Click);
    chainTabOrder();
}

bool formVG::isComplete() const
{
    return m_step2 != nullptr && !windowIcon().isNull();
}

void formVG::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    // The icon and the panels behind the first one follow the first frame, which does not
    // wait for them.
    if (!std::exchange(m_painted, true)) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                setIcon();
                buildPanels();
                openFolderOnceListed();
            },
            Qt::QueuedConnection);
    }
}

void formVG::setIcon()
{
    // Every drawn size, so that docks and task switchers show a sharp icon at any size.
    QIcon icon(QPixmap::fromImage(artworkImage(u":/vignetta/vignetta.png"_s)));
    for (const int size : kIconSizes)
        icon.addPixmap(QPixmap::fromImage(artworkImage(iconResource(size))));
    setWindowIcon(icon);
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
    if (panel != kStep1)
        buildPanels();
    for (int i = 0; i < kPanelCount; ++i) {
        if (QGroupBox* frame = m_frmStep[static_cast<std::size_t>(i)])
            frame->setVisible(i == panel);
    }
    m_frmStep[static_cast<std::size_t>(panel)]->raise();
    m_frontPanel = panel;
    focusFirstControl(panel);
}

void formVG::focusFirstControl(int panel)
{
    // After every move the keys go to the first control of the panel now in front, in tab
    // order: never left on a control that went out of view, nor on Exit, where one Space
    // would end the run. Screen readers name the panel as focus enters it.
    QWidget* first = nullptr;
    int firstTabIndex = 0;
    // The completion panel's own button (Open Page) is left to its access key and Tab: the keys
    // go to Restart, the wizard's way on, where Finish was.
    const QList<QWidget*> controls =
        panel == kCompletion ? QList<QWidget*>()
                             : m_frmStep[static_cast<std::size_t>(panel)]->findChildren<QWidget*>();
    for (QWidget* control : controls) {
        const QVariant tabIndex = control->property(kTabIndexProperty);
        if (!tabIndex.isValid() || (control->focusPolicy() & Qt::TabFocus) == 0 ||
            !control->isEnabled() || !control->isVisibleTo(this))
            continue;
        if (first == nullptr || tabIndex.toInt() < firstTabIndex) {
            first = control;
            firstTabIndex = tabIndex.toInt();
        }
    }
    // Else the button that goes on.
    for (const int button : {kRestart, kFinish, kNext}) {
        if (first != nullptr)
            break;
        QPushButton* candidate = m_cmdButtons[static_cast<std::size_t>(button)];
        if (candidate->isEnabled() && candidate->isVisibleTo(this))
            first = candidate;
    }
    if (first != nullptr)
        first->setFocus(Qt::TabFocusReason);
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
    // Panels not made yet start with their defaults.
    if (m_step2 != nullptr) {
        m_step4->setDefaults();
        m_step3->setDefaults();
    }
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
    // Covered by Restart, Finish is out of the keys' way: Tab never lands on a button that
    // cannot be seen.
    m_cmdButtons[kFinish]->setFocusPolicy(step == kCompletion ? Qt::NoFocus : Qt::StrongFocus);
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
            m_step4->setFolderName(QDir(m_step1->filePath()).dirName());
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
    case kStep4: {
        // The tutor goes once the page is written (pageWritten): a page that cannot be written
        // leaves the user on Step 4 with the tutor as it was.
        Step4Values values = m_step4->Get_Step4_Info();
        if (values.bThumbnails)
            problem = thumbnailSizeProblem(m_state.sWidth, m_state.sHeight);
        if (!problem) {
            m_state.store(std::move(values));
            m_completion->setFileName(m_state.sFileName);
        }
        break;
    }
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
    m_pageDirectory = m_step1->filePath();
    WriteFile();
}

void formVG::pageWritten(const QString& locationNote, const QStringList& problems)
{
    m_writtenPage = pagePath(m_pageDirectory, m_state.sFileName);
    m_completion->setFolder(m_pageDirectory);
    m_completion->setNotes(locationNote, problems);
    if (m_state.bTutorOn)
        TutorOff();
    ++m_state.iStep;
    Check_iStep();
    ShowFrame();
    // Restart appears where Finish was: the second click of a double click must not take it.
    m_sinceFinish.start();
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
    stopPublishing();
    if (m_state.bTutorOn)
        TutorOff();
    close();
    Q_EMIT exitRequested();
}

bool formVG::eventFilter(QObject* watched, QEvent* event)
{
    // Restart comes up where Finish was: the second click of a double click on Finish lands
    // on it and is not taken as a click of its own.
    if (watched == m_cmdButtons[kRestart] && event->type() == QEvent::MouseButtonDblClick &&
        m_sinceFinish.isValid() && m_sinceFinish.elapsed() < QApplication::doubleClickInterval())
        return true;
    return QWidget::eventFilter(watched, event);
}

void formVG::closeEvent(QCloseEvent* event)
{
    // Closing the window through its frame ends the program just as Exit does.
    if (!m_exiting) {
        m_exiting = true;
        stopPublishing();
        if (m_state.bTutorOn)
            TutorOff();
        Q_EMIT exitRequested();
    }
    event->accept();
}

void formVG::cmdButtons_Click(int index)
{
    // While Finish makes thumbnails or saves the page the wizard stays where it is; only Exit
    // goes (and stops the thumbnails; a page being saved is saved first). The progress window
    // keeps the mouse and keys away, but it shows only after a moment, and a button may be
    // reached meanwhile.
    if (m_publishJob != nullptr && index != kExit)
        return;
    buildPanels();
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

bool formVG::openFolder(const QString& path)
{
    return m_step1->openDirectory(path);
}

void formVG::openFolderOnceShown(const QString& path)
{
    m_folderOnceShown = path;
    if (m_painted)
        openFolderOnceListed();
}

void formVG::openFolderOnceListed()
{
    // Opening it during Step 1's reading would cancel that reading, and a folder that cannot be
    // opened would then leave the lists empty.
    if (m_folderOnceShown.isEmpty())
        return;
    m_step1->whenListed([this](bool /*listed*/) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!m_folderOnceShown.isEmpty())
                    openFolder(std::exchange(m_folderOnceShown, {}));
            },
            Qt::QueuedConnection);
    });
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
    // The dialog says which colour it changes and starts on that colour. A cancelled dialog
    // changes nothing.
    const std::optional<QColor> chosen =
        m_prompts->chooseColor(this, m_step3->sampleColor(index), Step3Panel::colorName(index));
    if (chosen)
        m_step3->setSampleColor(index, *chosen);
}

void formVG::WriteFile()
{
    // The whole of Finish (the pictures' files, the page, tidying up) is one job off the
    // window's thread, which goes on drawing; meanwhile the wizard stays where it is and takes
    // only Exit. With picture files the progress window shows, else the busy cursor. A page that
    // could not be written keeps the user on Step 4 with every entry, to correct the name and
    // try again.
    m_publishJob = new PublishJob({m_state, m_pageDirectory}, this);
    m_publishJob->setPageHook(m_saveHook);
    connect(m_publishJob, &PublishJob::progress, this, [this](int done, int toDo, qint64 msLeft) {
        if (m_progress)
            m_progress->setProgress(done, toDo, publishProgressText(done, toDo, msLeft));
    });
    connect(m_publishJob, &PublishJob::finished, this, &formVG::published);
    m_publishJob->start();
    if (m_state.bThumbnails) {
        m_progress =
            m_prompts->showProgress(this, {.title = QString::fromUtf16(kThumbnailProgressTitle),
                                           .text = QString::fromUtf16(kThumbnailProgressStart),
                                           .onCancel = [this] { stopPublishing(); }});
    } else {
        QApplication::setOverrideCursor(Qt::BusyCursor);
    }
}

void formVG::stopPublishing()
{
    // The job ends soon and reports; picture files already written stay for the next Finish,
    // and the page is not replaced.
    if (m_publishJob != nullptr)
        m_publishJob->cancel();
}

void formVG::published()
{
    if (m_progress)
        m_progress.reset();
    else
        QApplication::restoreOverrideCursor();
    // The job goes once it has delivered this report.
    PublishJob* job = std::exchange(m_publishJob, nullptr);
    const PublishResult result = job->result();
    job->deleteLater();
    if (m_exiting || result.cancelled)
        return;
    if (!result.error.isEmpty()) {
        warn(result.error);
        return;
    }
    if (!result.page.ok) {
        warn(pageNotWrittenText(result.pagePath, result.page.error));
        return;
    }
    pageWritten(locationNoteText(result.linkedWithLocation, result.linkedOriginals),
                result.problems([this](qsizetype i) { return m_state.sImageFiles.at(i); }));
}

void formVG::cmdOpen_Click()
{
    if (!QFileInfo(m_writtenPage).isFile()) {
        warn(u"The page \""_s + QDir::toNativeSeparators(m_writtenPage) +
             u"\" is no longer there."_s);
        return;
    }
    m_prompts->openUrl(
        QUrl::fromLocalFile(m_writtenPage),
        [window = QPointer<formVG>(this), page = m_writtenPage](const QString& reason) {
            if (window && !window->m_exiting)
                window->warn(u"The page \""_s + QDir::toNativeSeparators(page) +
                             u"\" could not be opened: "_s + reason);
        });
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
    const bool fresh = !m_formTutor;
    if (fresh) {
        m_formTutor = std::make_unique<FormTutor>(this);
        connect(m_formTutor.get(), &FormTutor::closedByUser, this, &formVG::tutorClosedByUser);
    }
    // The completion panel has no hint: the window keeps whatever it shows.
    if (const std::optional<QString> hint = tutorHint(m_state.iStep))
        m_formTutor->lblTutor()->setText(*hint);
    m_formTutor->fitToLabel();
    // Screen readers find the hint on the wizard itself, which keeps the keyboard.
    setAccessibleDescription(m_formTutor->lblTutor()->text());
    // A new tutor opens beside the wizard; later hints resize it where it stands, unless it
    // then covers the wizard or leaves the screen.
    if (fresh || !m_formTutor->isClearOf(this))
        m_formTutor->placeBeside(this);
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
    setAccessibleDescription(QString());
}

void formVG::tutorClosedByUser()
{
    // Closing the tutor through its frame turns it off; the window goes once its close is done.
    m_state.bTutorOn = false;
    setAccessibleDescription(QString());
    if (m_formTutor)
        m_formTutor.release()->deleteLater();
}

} // namespace vignetta
