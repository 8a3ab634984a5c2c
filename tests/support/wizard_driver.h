// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "support/image_folder.h"
#include "support/recording_prompts.h"

#include "appearance/step3_panel.h"
#include "output/step4_panel.h"
#include "selection/name_list_view.h"
#include "selection/step1_panel.h"
#include "selection/step2_panel.h"
#include "tutor/form_tutor.h"
#include "ui/ui_kit.h"
#include "wizard/form_vg.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

// The control of `root` with that object name; fails the test when there is none.
template <class T = QWidget>
T* control(const QObject* root, const QString& name)
{
    T* found = root->findChild<T*>(name);
    if (found == nullptr)
        QTest::qFail(qPrintable(QStringLiteral("no control named ") + name), __FILE__, __LINE__);
    return found;
}

// The tutor window while it exists.
inline vignetta::FormTutor* tutorWindow()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (auto* tutor = qobject_cast<vignetta::FormTutor*>(w))
            return tutor;
    }
    return nullptr;
}

// Drives the real main window the way a user does: by clicking its buttons. Controls are
// found by their names.
struct WizardDriver
{
    RecordingPrompts prompts;
    vignetta::formVG form;

    explicit WizardDriver(const QString& startDirectory = QDir::currentPath())
        : form(startDirectory, &prompts)
    {
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            qWarning("window not exposed");
        // The rest of the window follows the first frame.
        if (!QTest::qWaitFor([this] { return form.isComplete(); }))
            qWarning("window not complete");
    }

    template <class T = QWidget>
    [[nodiscard]] T* find(const QString& name) const
    {
        return control<T>(&form, name);
    }
    [[nodiscard]] QPushButton* button(int index) const
    {
        return find<QPushButton>(vignetta::memberName(u"cmdButtons", index));
    }
    [[nodiscard]] QGroupBox* panel(int index) const
    {
        return find<QGroupBox>(vignetta::memberName(u"frmStep", index));
    }
    [[nodiscard]] QLineEdit* box(const QString& name) const { return find<QLineEdit>(name); }
    [[nodiscard]] vignetta::NameListView* list(const QString& name) const
    {
        return find<vignetta::NameListView>(name);
    }
    [[nodiscard]] QLabel* label(const QString& name) const { return find<QLabel>(name); }
    [[nodiscard]] QPushButton* moveButton(int index) const
    {
        return find<QPushButton>(vignetta::memberName(u"cmdStep2", index));
    }

    [[nodiscard]] vignetta::Step1Panel* step1() const
    {
        return form.findChild<vignetta::Step1Panel*>();
    }
    [[nodiscard]] vignetta::Step2Panel* step2() const
    {
        return form.findChild<vignetta::Step2Panel*>();
    }
    [[nodiscard]] vignetta::Step3Panel* step3() const
    {
        return form.findChild<vignetta::Step3Panel*>();
    }

    // Clicks a wizard button; a page that Finish saves is waited for, as the user waits for
    // the completion panel.
    void click(int index) const
    {
        QTest::mouseClick(button(index), Qt::LeftButton);
        (void)QTest::qWaitFor([this] { return !form.isSaving(); });
    }
    void clickMove(int index) const { QTest::mouseClick(moveButton(index), Qt::LeftButton); }

    [[nodiscard]] int step() const { return form.state().iStep; }

    // The enabled state of Back, Next and Finish and whether Restart shows, as "BNF R" flags.
    [[nodiscard]] QString buttonStates() const
    {
        using vignetta::formVG;
        auto flag = [](bool on, char c) { return on ? QChar(c) : QChar(u'-'); };
        return QString() + flag(button(formVG::kBack)->isEnabled(), 'B') +
               flag(button(formVG::kNext)->isEnabled(), 'N') +
               flag(button(formVG::kFinish)->isEnabled(), 'F') +
               flag(button(formVG::kRestart)->isVisibleTo(&form), 'R');
    }

    // From Step 1 on `folder` to the given position, choosing every image.
    void advanceTo(int position, const QString& folder) const
    {
        using vignetta::formVG;
        if (!step1()->openDirectory(folder))
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
