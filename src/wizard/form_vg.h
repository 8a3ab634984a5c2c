// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/wizard_state.h"
#include "output/page_saver.h"

#include <QColor>
#include <QElapsedTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QGroupBox;
class QLabel;
class QPushButton;

namespace vignetta {

class AboutPanel;
class CompletionPanel;
class FormTutor;
class ProgressPrompt;
class Prompts;
class Step1Panel;
class Step2Panel;
class Step3Panel;
class Step4Panel;
class PublishJob;

// The main window: the stack of panels, the wizard buttons and the navigation between steps.
// It owns the wizard's state for the whole run.
class formVG final : public QWidget
{
    Q_OBJECT
public:
    enum Button
    {
        kExit = 0,
        kBack = 1,
        kNext = 2,
        kRestart = 3,
        kFinish = 4,
        kTutor = 5,
        kAbout = 6,
    };
    static constexpr int kButtonCount = 7;
    static constexpr int kPanelCount = 6;

    // Step 1 opens on `startDirectory`. `prompts` shows the modal dialogs; without one the
    // window shows real ones.
    explicit formVG(const QString& startDirectory, Prompts* prompts = nullptr,
                    QWidget* parent = nullptr);
    ~formVG() override;

    [[nodiscard]] const WizardState& state() const { return m_state; }
    // The panel the user sees.
    [[nodiscard]] int frontPanel() const { return m_frontPanel; }
    // Whether all of the window is there: the panels behind the first one and the icon are
    // made just after the first frame, or when a button needs them, whichever comes first.
    [[nodiscard]] bool isComplete() const;

    void cmdButtons_Click(int index);
    // Whether Finish is saving a page without picture files (with them, the progress window
    // shows): it is saved off the window's thread, and meanwhile the wizard stays where it is
    // and takes only Exit.
    [[nodiscard]] bool isSaving() const { return m_publishJob != nullptr && !m_progress; }
    // Called on Finish's thread before each page is written; tests slow a save down with it.
    void setPageSaveHook(std::function<void()> hook) { m_saveHook = std::move(hook); }

    // Opens a folder in Step 1 as the user would there; one that cannot be opened is reported
    // in the warning box, and Step 1 stays where it was.
    bool openFolder(const QString& path);
    // The same, once the window shows and Step 1 has its start folder: the warning then comes
    // over the wizard, and a folder that cannot be opened leaves Step 1 on the start folder.
    void openFolderOnceShown(const QString& path);

Q_SIGNALS:
    // Exit was chosen, or the window was closed: the program ends.
    void exitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildWindow(const QString& startDirectory);
    void placePanel(int panel);
    void buildPanels();
    void setIcon();
    void chainTabOrder();
    void bringToFront(int panel);
    void focusFirstControl(int panel);
    void warn(const QString& text);
    void openFolderOnceListed();

    void SetDefaults();
    void Form_Load();
    void Check_iStep();
    void ShowFrame();
    bool CompleteThisStep();
    void DoNext();
    void DoBack();
    void DoFinish();
    void DoRestart();
    void DoExit();
    void DoAbout();
    void cmdOk_Click();
    void cmdColor_Click(int index);
    void WriteFile();
    void published();
    void stopPublishing();
    void pageWritten(const QString& locationNote, const QStringList& problems);
    void cmdOpen_Click();

    void DoTutor();
    void TutorOn();
    void ShowTutor();
    void TutorOff();
    void tutorClosedByUser();

    std::unique_ptr<Prompts> m_ownPrompts;
    Prompts* m_prompts = nullptr;
    WizardState m_state;
    bool m_exiting = false;
    QElapsedTimer m_sinceFinish; // since the completion panel came up
    QString m_pageDirectory;     // where Finish writes the page
    QString m_writtenPage;       // the page on the completion panel, for Open Page
    QString m_folderOnceShown;   // to open once the window shows
    // While Finish runs: its job (a child of the window), and the progress window where it
    // makes picture files.
    PublishJob* m_publishJob = nullptr;
    std::unique_ptr<ProgressPrompt> m_progress;
    std::function<void()> m_saveHook;
    int m_frontPanel = -1;
    bool m_painted = false;

    std::array<QPushButton*, kButtonCount> m_cmdButtons{};
    std::array<QGroupBox*, kPanelCount> m_frmStep{};
    Step1Panel* m_step1 = nullptr;
    Step2Panel* m_step2 = nullptr;
    Step3Panel* m_step3 = nullptr;
    Step4Panel* m_step4 = nullptr;
    CompletionPanel* m_completion = nullptr;
    AboutPanel* m_about = nullptr;
    std::unique_ptr<FormTutor> m_formTutor;
};

} // namespace vignetta
