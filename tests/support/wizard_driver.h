#pragma once

#include "support/image_folder.h"
#include "support/recording_prompts.h"

#include "appearance/step3_panel.h"
#include "output/step4_panel.h"
#include "selection/name_list_view.h"
#include "selection/step1_panel.h"
#include "selection/step2_panel.h"
#include "wizard/form_vg.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// Drives the real main window the way a user does: by clicking its buttons.
struct WizardDriver
{
    RecordingPrompts prompts;
    vignetta::formVG form{&prompts};

    WizardDriver()
    {
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            qWarning("window not exposed");
    }

    void click(int button) const { QTest::mouseClick(form.cmdButtons(button), Qt::LeftButton); }
    void clickMove(int index) const
    {
        QTest::mouseClick(form.step2()->cmdStep2(index), Qt::LeftButton);
    }

    [[nodiscard]] int step() const { return form.state().iStep; }

    // The enabled state of Back, Next and Finish and whether Restart shows, as "BNF R" flags.
    [[nodiscard]] QString buttonStates() const
    {
        using vignetta::formVG;
        auto flag = [](bool on, char c) { return on ? QChar(c) : QChar(u'-'); };
        return QString() + flag(form.cmdButtons(formVG::kBack)->isEnabled(), 'B') +
               flag(form.cmdButtons(formVG::kNext)->isEnabled(), 'N') +
               flag(form.cmdButtons(formVG::kFinish)->isEnabled(), 'F') +
               flag(form.cmdButtons(formVG::kRestart)->isVisibleTo(&form), 'R');
    }

    // From Step 1 on `folder` to the given position, choosing every image.
    void advanceTo(int position, const QString& folder) const
    {
        using vignetta::formVG;
        if (!form.step1()->openDirectory(folder))
            return;
        if (position >= vignetta::kStep2)
            click(formVG::kNext);
        if (position >= vignetta::kStep3) {
            clickMove(vignetta::Step2Panel::kAllRight);
            click(formVG::kNext);
        }
        if (position >= vignetta::kStep4)
            click(formVG::kNext);
        if (position >= vignetta::kCompletion)
            click(formVG::kFinish);
    }
};
