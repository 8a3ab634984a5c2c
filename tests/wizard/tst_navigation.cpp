// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/wizard_driver.h"

#include "core/product.h"
#include "selection/dir_list.h"
#include "ui/prompts.h"
#include "wizard/about_panel.h"
#include "wizard/completion_panel.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTextDocument>
#include <QThread>
#include <QTimer>

using namespace vignetta;
using namespace Qt::Literals::StringLiterals;

namespace {

// The defaults of Steps 3 and 4, as the window starts and after Restart.
void verifyDefaults(const WizardDriver& w)
{
    QCOMPARE(w.box(u"txtWidth"_s)->text(), u"150"_s);
    QCOMPARE(w.box(u"txtHeight"_s)->text(), u"150"_s);
    QCOMPARE(w.box(u"txtColumns"_s)->text(), u"1"_s);
    QVERIFY(w.find<QCheckBox>(u"Check1"_s)->isChecked());
    QVERIFY(w.box(u"txtThickness"_s)->isEnabled());
    QCOMPARE(w.box(u"txtThickness"_s)->text(), u"2"_s);
    QCOMPARE(w.step3()->sampleColor(Step3Panel::kForeground), QColor(Qt::black));
    QCOMPARE(w.step3()->sampleColor(Step3Panel::kBackground), QColor(Qt::white));
    QCOMPARE(w.box(u"txtFileName"_s)->text(), u"Vignetta"_s);
    QVERIFY(w.find<QRadioButton>(memberName(u"optExtension", 0))->isChecked());
    QVERIFY(!w.find<QRadioButton>(memberName(u"optExtension", 1))->isChecked());
}

const QString kTitle = QStringLiteral("Cannot proceed to Next Step");

} // namespace

class TestNavigation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void freshStart();
    void movesBeforeTheFirstFrameMakeThePanelsTheyNeed();
    void buttonStatesAtEachPosition_data();
    void buttonStatesAtEachPosition();
    void stepOneWithoutImagesWarns();
    void stepTwoWithoutSelectionWarns();
    void stepThreeChecks_data();
    void stepThreeChecks();
    void finishWithDefaultsShowsFileName();
    void finishOnCompletionPanelWarnsWithEmptyText();
    void doubleClickOnFinishDoesNotRestart();
    void namesAreShownAsPlainText();
    void backKeepsEntries();
    void backToStepOneRebuildsLists();
    void restartRestoresDefaultsAndKeepsDirectory();
    void aboutAndOkRestoreThePosition_data();
    void aboutAndOkRestoreThePosition();
    void accessKeysClickButtons();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void focusGoesToTheFrontPanelAfterEveryMove_data();
    void focusGoesToTheFrontPanelAfterEveryMove();
    void tabNeverReachesTheCoveredFinish();
    void escapeOnAboutDoesWhatOkDoes();
    void enterInThePageNameFinishes();
    void startFolderThatCannotBeOpenedIsReported();
    void screenReadersHearTheMoves();
    void exitEndsTheProgram();
    void closingTheWindowEndsTheProgram();

private:
    ImageFolder* m_images = nullptr;
};

void TestNavigation::init()
{
    m_images = new ImageFolder({"b.gif", "A.JPG", "c.bmp"});
}

void TestNavigation::cleanup()
{
    delete m_images;
    m_images = nullptr;
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestNavigation::freshStart()
{
    WizardDriver w;
    QCOMPARE(w.step(), int(kStep1));
    QCOMPARE(w.form.frontPanel(), int(kStep1));
    QVERIFY(w.panel(kStep1)->isVisible());
    QCOMPARE(w.buttonStates(), QStringLiteral("-N--"));
    QVERIFY(w.button(formVG::kExit)->isEnabled());
    QVERIFY(w.button(formVG::kTutor)->isEnabled());
    QVERIFY(w.button(formVG::kAbout)->isEnabled());
    QVERIFY(!w.form.state().bTutorOn);
    QCOMPARE(w.form.windowTitle(), QString::fromLatin1(product::kWindowTitle));

    verifyDefaults(w);
    QVERIFY(w.prompts.messages.isEmpty());

    // Screen readers meet the buttons, the panels behind in their order, the pictures, then the
    // panel in front, raised over the others.
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&w.form);
    QStringList order;
    for (int i = 0; i < window->childCount(); ++i)
        order.append(window->child(i)->object()->objectName());
    QCOMPARE(order.mid(7), (QStringList{"frmStep(1)", "frmStep(2)", "frmStep(3)", "frmStep(4)",
                                        "frmStep(5)", "Image3", "Image2", "frmStep(0)"}));
}

void TestNavigation::movesBeforeTheFirstFrameMakeThePanelsTheyNeed()
{
    // The panels behind Step 1 are made just after the first frame; a move that comes before it
    // (keys typed ahead, a script) makes them at once, with their defaults, and moves on.
    RecordingPrompts prompts;
    formVG form(m_images->path(), &prompts);
    QVERIFY(!form.isComplete());
    QVERIFY(form.openFolder(m_images->path()));
    form.cmdButtons_Click(formVG::kNext);
    QCOMPARE(form.frontPanel(), int(kStep2));
    QCOMPARE(control<NameListView>(&form, u"lstUnselected"_s)->model()->rowCount(), 3);
    control<QPushButton>(&form, memberName(u"cmdStep2", Step2Panel::kAllRight))->click();
    form.cmdButtons_Click(formVG::kNext);
    QCOMPARE(form.frontPanel(), int(kStep3));
    QCOMPARE(control<QLineEdit>(&form, u"txtWidth"_s)->text(), u"150"_s);
    QVERIFY(control<QLineEdit>(&form, u"txtWidth"_s)->isVisibleTo(&form));
    QVERIFY(!control<QGroupBox>(&form, memberName(u"frmStep", kStep2))->isVisibleTo(&form));
    QVERIFY(prompts.messages.isEmpty());
}

void TestNavigation::buttonStatesAtEachPosition_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("states");
    QTest::newRow("Step 1") << int(kStep1) << "-N--";
    QTest::newRow("Step 2") << int(kStep2) << "BN--";
    QTest::newRow("Step 3") << int(kStep3) << "BN--";
    QTest::newRow("Step 4") << int(kStep4) << "B-F-";
    QTest::newRow("completion") << int(kCompletion) << "--FR";
}

void TestNavigation::buttonStatesAtEachPosition()
{
    QFETCH(int, position);
    QFETCH(QString, states);
    WizardDriver w;
    w.advanceTo(position, m_images->path());
    QCOMPARE(w.step(), position);
    QCOMPARE(w.form.frontPanel(), position);
    QCOMPARE(w.buttonStates(), states);
    QVERIFY(w.prompts.messages.isEmpty());
    // Only the panel in front is seen.
    for (int i = 0; i < formVG::kPanelCount; ++i)
        QCOMPARE(w.panel(i)->isVisible(), i == position);
}

void TestNavigation::stepOneWithoutImagesWarns()
{
    ImageFolder empty({"d.png", "e.jpeg"});
    empty.addDirs({"f.jpg"});
    WizardDriver w;
    QVERIFY(w.step1()->openDirectory(empty.path()));
    w.click(formVG::kNext);
    QCOMPARE(w.prompts.messages.size(), 1);
    const MessageRequest& m = w.prompts.messages.first();
    QCOMPARE(m.text, QStringLiteral("No image files in selected directory!"));
    QCOMPARE(m.title, kTitle);
    QCOMPARE(m.icon, QMessageBox::Warning);
    QCOMPARE(m.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(w.step(), int(kStep1));
    QCOMPARE(w.form.frontPanel(), int(kStep1));
    QCOMPARE(w.buttonStates(), QStringLiteral("-N--"));
}

void TestNavigation::stepTwoWithoutSelectionWarns()
{
    WizardDriver w;
    w.advanceTo(kStep2, m_images->path());
    w.click(formVG::kNext);
    QCOMPARE(w.prompts.texts(), QStringList{"No image files are selected"});
    QCOMPARE(w.prompts.messages.first().title, kTitle);
    QCOMPARE(w.step(), int(kStep2));
    QCOMPARE(w.list(u"lstUnselected"_s)->count(), 3);
}

void TestNavigation::stepThreeChecks_data()
{
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("message"); // empty: the step passes

    // The rules themselves are checked without a window; here, that the window follows them.
    QTest::newRow("passes") << "2.5"
                            << "  150px "
                            << "150"
                            << "";
    QTest::newRow("columns first")
        << "0"
        << "0"
        << "0"
        << "Columns should be a value < or = the number of images, but > than 0";
    QTest::newRow("size") << "1"
                          << "150"
                          << "-5"
                          << "Width and Height should be a value greater 0";
}

void TestNavigation::stepThreeChecks()
{
    QFETCH(QString, columns);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, message);

    WizardDriver w;
    w.advanceTo(kStep3, m_images->path());
    w.box(u"txtColumns"_s)->setText(columns);
    w.box(u"txtWidth"_s)->setText(width);
    w.box(u"txtHeight"_s)->setText(height);
    const WizardState before = w.form.state();
    w.click(formVG::kNext);

    if (message.isEmpty()) {
        QVERIFY(w.prompts.messages.isEmpty());
        QCOMPARE(w.step(), int(kStep4));
        QCOMPARE(w.form.state().sWidth, width.trimmed());
        QCOMPARE(w.form.state().sColumns, columns.trimmed());
    } else {
        QCOMPARE(w.prompts.texts(), QStringList{message});
        QCOMPARE(w.prompts.messages.first().title, kTitle);
        QCOMPARE(w.step(), int(kStep3));
        QCOMPARE(w.buttonStates(), QStringLiteral("BN--"));
        // Nothing of the step was collected, and the entries stay as typed.
        QCOMPARE(w.form.state().sWidth, before.sWidth);
        QCOMPARE(w.box(u"txtWidth"_s)->text(), width);
    }
}

void TestNavigation::finishWithDefaultsShowsFileName()
{
    WizardDriver w;
    w.advanceTo(kCompletion, m_images->path());
    QCOMPARE(w.step(), int(kCompletion));
    QCOMPARE(w.form.frontPanel(), int(kCompletion));
    QCOMPARE(w.label(u"lblFileName"_s)->text(), QStringLiteral("Vignetta.html"));
    QCOMPARE(w.form.state().sFileName, QStringLiteral("Vignetta.html"));
    QCOMPARE(w.buttonStates(), QStringLiteral("--FR"));
    // Restart stands where Finish is, in front of it.
    QCOMPARE(w.button(formVG::kRestart)->geometry(), w.button(formVG::kFinish)->geometry());
    QCOMPARE(w.form.childAt(w.button(formVG::kFinish)->geometry().center()),
             w.button(formVG::kRestart));
    QCOMPARE(w.form.state().sImageFiles, (QStringList{"A.JPG", "b.gif", "c.bmp", ""}));
}

void TestNavigation::finishOnCompletionPanelWarnsWithEmptyText()
{
    WizardDriver w;
    w.advanceTo(kCompletion, m_images->path());
    // Finish is still enabled behind Restart; reached by its access key.
    w.form.cmdButtons_Click(formVG::kFinish);
    QCOMPARE(w.prompts.messages.size(), 1);
    QCOMPARE(w.prompts.messages.first().text, QString());
    QCOMPARE(w.prompts.messages.first().title, kTitle);
    QCOMPARE(w.step(), int(kCompletion));
    QCOMPARE(w.buttonStates(), QStringLiteral("--FR"));
}

void TestNavigation::backKeepsEntries()
{
    WizardDriver w;
    w.advanceTo(kStep4, m_images->path());
    w.box(u"txtFileName"_s)->setText(QStringLiteral("album"));
    w.click(formVG::kBack);
    QCOMPARE(w.step(), int(kStep3));
    QCOMPARE(w.buttonStates(), QStringLiteral("BN--"));
    w.box(u"txtWidth"_s)->setText(QStringLiteral("0"));
    w.click(formVG::kBack);
    QCOMPARE(w.step(), int(kStep2));
    QCOMPARE(w.list(u"lstSelected"_s)->count(), 3);
    w.click(formVG::kNext);
    // The Step 3 entries are still there and are checked again.
    QCOMPARE(w.box(u"txtWidth"_s)->text(), QStringLiteral("0"));
    w.click(formVG::kNext);
    QCOMPARE(w.prompts.texts(), QStringList{"Width and Height should be a value greater 0"});
    w.box(u"txtWidth"_s)->setText(QStringLiteral("99"));
    w.click(formVG::kNext);
    QCOMPARE(w.step(), int(kStep4));
    QCOMPARE(w.box(u"txtFileName"_s)->text(), QStringLiteral("album"));
    QCOMPARE(w.form.state().sWidth, QStringLiteral("99"));
}

void TestNavigation::backToStepOneRebuildsLists()
{
    WizardDriver w;
    w.advanceTo(kStep3, m_images->path());
    w.click(formVG::kBack);
    w.click(formVG::kBack);
    QCOMPARE(w.step(), int(kStep1));
    QCOMPARE(w.buttonStates(), QStringLiteral("-N--"));
    w.click(formVG::kNext);
    QCOMPARE(w.step(), int(kStep2));
    QCOMPARE(w.list(u"lstUnselected"_s)->count(), 3);
    QCOMPARE(w.list(u"lstSelected"_s)->count(), 0);
    QCOMPARE(w.label(u"lblSelected"_s)->text(), QStringLiteral("0 Image(s) Selected"));
    QCOMPARE(w.form.state().sImagePath, m_images->path() + "/");
}

void TestNavigation::restartRestoresDefaultsAndKeepsDirectory()
{
    WizardDriver w;
    w.advanceTo(kStep3, m_images->path());
    Step3Panel* s3 = w.step3();
    w.box(u"txtWidth"_s)->setText(QStringLiteral("80"));
    w.box(u"txtHeight"_s)->setText(QStringLiteral("60"));
    w.box(u"txtColumns"_s)->setText(QStringLiteral("2"));
    QTest::mouseClick(w.find<QCheckBox>(u"Check1"_s), Qt::LeftButton, {}, QPoint(8, 8));
    QVERIFY(!w.box(u"txtThickness"_s)->isEnabled());
    s3->setSampleColor(Step3Panel::kForeground, Qt::red);
    s3->setSampleColor(Step3Panel::kBackground, Qt::blue);
    w.click(formVG::kNext);
    w.box(u"txtFileName"_s)->setText(QStringLiteral("other"));
    QTest::mouseClick(w.find<QRadioButton>(memberName(u"optExtension", 1)), Qt::LeftButton, {},
                      QPoint(8, 8));
    w.click(formVG::kFinish);
    QCOMPARE(w.label(u"lblFileName"_s)->text(), QStringLiteral("other.htm"));

    w.click(formVG::kRestart);
    QCOMPARE(w.step(), int(kStep1));
    QCOMPARE(w.form.frontPanel(), int(kStep1));
    QCOMPARE(w.buttonStates(), QStringLiteral("-N--"));
    QCOMPARE(w.step1()->filePath(), m_images->path());
    QCOMPARE(w.step1()->fileCount(), 3);
    verifyDefaults(w);
    // The record keeps the last pass until the next one overwrites it.
    QCOMPARE(w.form.state().sFileName, QStringLiteral("other.htm"));

    w.click(formVG::kNext);
    QCOMPARE(w.list(u"lstSelected"_s)->count(), 0);
    QCOMPARE(w.list(u"lstUnselected"_s)->count(), 3);
}

void TestNavigation::aboutAndOkRestoreThePosition_data()
{
    buttonStatesAtEachPosition_data();
}

void TestNavigation::aboutAndOkRestoreThePosition()
{
    QFETCH(int, position);
    QFETCH(QString, states);
    WizardDriver w;
    w.advanceTo(position, m_images->path());
    w.box(u"txtColumns"_s)->setText(QStringLiteral("2"));

    w.click(formVG::kAbout);
    QCOMPARE(w.form.frontPanel(), int(kAboutPanel));
    QCOMPARE(w.step(), position);
    QVERIFY(w.button(formVG::kExit)->isEnabled());
    for (int i = formVG::kBack; i <= formVG::kAbout; ++i)
        QVERIFY2(!w.button(i)->isEnabled(), qPrintable(QString::number(i)));

    QTest::mouseClick(w.find<QPushButton>(u"cmdOk"_s), Qt::LeftButton);
    QCOMPARE(w.form.frontPanel(), position);
    QCOMPARE(w.buttonStates(), states);
    QVERIFY(w.button(formVG::kTutor)->isEnabled());
    QVERIFY(w.button(formVG::kAbout)->isEnabled());
    QVERIFY(w.button(formVG::kRestart)->isEnabled());
    QCOMPARE(w.box(u"txtColumns"_s)->text(), QStringLiteral("2"));

    // Carried on to the end, Restart works.
    while (w.step() < kStep4) {
        if (w.step() == kStep2 && w.list(u"lstSelected"_s)->count() == 0)
            w.clickMove(Step2Panel::kAllRight);
        w.click(formVG::kNext);
    }
    if (w.step() == kStep4)
        w.click(formVG::kFinish);
    QCOMPARE(w.step(), int(kCompletion));
    w.click(formVG::kRestart);
    QCOMPARE(w.step(), int(kStep1));
}

void TestNavigation::accessKeysClickButtons()
{
    WizardDriver w;
    QVERIFY(w.step1()->openDirectory(m_images->path()));
    w.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.form));

    QTest::keyClick(&w.form, Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(w.step(), int(kStep2));
    QTest::keyClick(&w.form, Qt::Key_B, Qt::AltModifier);
    QTRY_COMPARE(w.step(), int(kStep1));
    QTest::keyClick(&w.form, Qt::Key_A, Qt::AltModifier);
    QTRY_COMPARE(w.form.frontPanel(), int(kAboutPanel));
    // Disabled buttons do not answer their keys: by the time Ok has answered, a Next would
    // have too.
    QTest::keyClick(&w.form, Qt::Key_N, Qt::AltModifier);
    QTest::keyClick(&w.form, Qt::Key_O, Qt::AltModifier);
    QTRY_COMPARE(w.form.frontPanel(), int(kStep1));
    QCOMPARE(w.step(), int(kStep1));

    // Restart is hidden before the completion panel: its key does nothing.
    w.box(u"txtWidth"_s)->setText(QStringLiteral("77"));
    QSignalSpy exits(&w.form, &formVG::exitRequested);
    QTest::keyClick(&w.form, Qt::Key_R, Qt::AltModifier);
    QTest::keyClick(&w.form, Qt::Key_E, Qt::AltModifier);
    QTRY_COMPARE(exits.count(), 1);
    QCOMPARE(w.box(u"txtWidth"_s)->text(), QStringLiteral("77"));
}

void TestNavigation::enterPressesTheFocusedButton_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("panel"); // the panel in front afterwards
    QTest::newRow("Return on Next")
        << memberName(u"cmdButtons", formVG::kNext) << int(Qt::Key_Return) << int(kStep2);
    QTest::newRow("keypad Enter on About")
        << memberName(u"cmdButtons", formVG::kAbout) << int(Qt::Key_Enter) << int(kAboutPanel);
    QTest::newRow("Return on a move button, then Next")
        << memberName(u"cmdStep2", Step2Panel::kAllRight) << int(Qt::Key_Return) << int(kStep3);
}

void TestNavigation::enterPressesTheFocusedButton()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(int, panel);
    WizardDriver w;
    QVERIFY(w.step1()->openDirectory(m_images->path()));
    if (button.startsWith(u"cmdStep2"))
        w.click(formVG::kNext);
    auto* pressed = w.find<QPushButton>(button);
    pressed->setFocus();
    // Held down, the key presses once: the repeats that follow do nothing.
    QTest::sendKeyEvent(QTest::KeyAction::Press, pressed, Qt::Key(key), QString(), Qt::NoModifier);
    QKeyEvent repeat(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(pressed, &repeat);
    QTest::sendKeyEvent(QTest::KeyAction::Release, pressed, Qt::Key(key), QString(),
                        Qt::NoModifier);
    if (button.startsWith(u"cmdStep2")) {
        QCOMPARE(w.step2()->selectedCount(), 3);
        w.button(formVG::kNext)->setFocus();
        QTest::keyClick(w.button(formVG::kNext), Qt::Key_Return);
    }
    QTRY_COMPARE(w.form.frontPanel(), panel);
    QCOMPARE(w.prompts.texts(), QStringList());
}

void TestNavigation::focusGoesToTheFrontPanelAfterEveryMove_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("mouse") << false;
    QTest::newRow("access keys") << true;
}

void TestNavigation::focusGoesToTheFrontPanelAfterEveryMove()
{
    QFETCH(bool, byKey);
    WizardDriver w;
    QVERIFY(w.step1()->openDirectory(m_images->path()));
    w.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.form));

    // Moves as the user makes them: a click on the button, or Alt and its letter wherever the
    // focus is.
    const auto move = [&](int button, Qt::Key key) {
        if (byKey)
            QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
        else
            QTest::mouseClick(w.button(button), Qt::LeftButton);
    };
    const auto focusName = [&] {
        const QWidget* focused = w.form.focusWidget();
        return focused != nullptr ? focused->objectName() : QString();
    };
    // The focused control is in view, not under another control, and is no way out.
    const auto verifyFocusIsSafe = [&] {
        QWidget* focused = w.form.focusWidget();
        QVERIFY(focused != nullptr);
        QVERIFY(focused != w.button(formVG::kExit));
        QVERIFY(focused->isVisible() && focused->isEnabled());
        const QWidget* front = w.panel(w.form.frontPanel());
        QVERIFY2(front->isAncestorOf(focused) || focused == w.button(formVG::kRestart),
                 qPrintable(focused->objectName()));
        QWidget* seen = w.form.childAt(focused->mapTo(&w.form, focused->rect().center()));
        QVERIFY2(seen == focused || focused->isAncestorOf(seen), qPrintable(focused->objectName()));
    };

    QCOMPARE(focusName(), u"Dir1"_s);
    move(formVG::kNext, Qt::Key_N);
    QTRY_COMPARE(focusName(), u"lstUnselected"_s);
    verifyFocusIsSafe();
    w.clickMove(Step2Panel::kAllRight);
    move(formVG::kNext, Qt::Key_N);
    QTRY_COMPARE(focusName(), u"txtHeight"_s); // the Height box comes first in tab order
    verifyFocusIsSafe();
    move(formVG::kNext, Qt::Key_N);
    QTRY_COMPARE(focusName(), u"txtFileName"_s);
    verifyFocusIsSafe();
    move(formVG::kBack, Qt::Key_B);
    QTRY_COMPARE(focusName(), u"txtHeight"_s);
    verifyFocusIsSafe();
    move(formVG::kNext, Qt::Key_N);
    QTRY_COMPARE(focusName(), u"txtFileName"_s);
    move(formVG::kAbout, Qt::Key_A);
    QTRY_COMPARE(focusName(), u"cmdOk"_s);
    verifyFocusIsSafe();
    if (byKey)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::AltModifier);
    else
        QTest::mouseClick(w.find<QPushButton>(u"cmdOk"_s), Qt::LeftButton);
    QTRY_COMPARE(focusName(), u"txtFileName"_s);
    move(formVG::kFinish, Qt::Key_F);
    QTRY_COMPARE(w.step(), int(kCompletion));
    // Not the covered Finish: one Space now starts a new page, it shows no empty warning.
    QTRY_COMPARE(focusName(), u"cmdButtons(3)"_s);
    verifyFocusIsSafe();
    move(formVG::kAbout, Qt::Key_A);
    QTRY_COMPARE(focusName(), u"cmdOk"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTRY_COMPARE(focusName(), u"cmdButtons(3)"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QTRY_COMPARE(w.step(), int(kStep1));
    QTRY_COMPARE(focusName(), u"Dir1"_s);
    verifyFocusIsSafe();
    QVERIFY(w.prompts.messages.isEmpty());
}

void TestNavigation::tabNeverReachesTheCoveredFinish()
{
    WizardDriver w;
    w.advanceTo(kCompletion, m_images->path());
    QCOMPARE(QApplication::focusWidget(), w.button(formVG::kRestart));
    // Around the whole chain and on: Finish, behind Restart, is never the one a Space presses.
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != w.button(formVG::kFinish));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    QVERIFY(QApplication::focusWidget() != w.button(formVG::kFinish));
    // Back on Step 4 it takes the keys again.
    w.click(formVG::kRestart);
    w.advanceTo(kStep4, m_images->path());
    QCOMPARE(w.button(formVG::kFinish)->focusPolicy(), Qt::StrongFocus);
}

void TestNavigation::escapeOnAboutDoesWhatOkDoes()
{
    WizardDriver w;
    w.advanceTo(kStep3, m_images->path());
    w.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.form));
    w.click(formVG::kAbout);
    QCOMPARE(w.form.frontPanel(), int(kAboutPanel));
    // Wherever the focus is on the window.
    w.button(formVG::kExit)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(w.form.frontPanel(), int(kStep3));
    QCOMPARE(w.buttonStates(), QStringLiteral("BN--"));
    QVERIFY(w.button(formVG::kAbout)->isEnabled());
    // Escape on a step does nothing.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(w.form.frontPanel(), int(kStep3));
    QCOMPARE(w.step(), int(kStep3));
}

void TestNavigation::enterInThePageNameFinishes()
{
    WizardDriver w;
    w.advanceTo(kStep4, m_images->path());
    w.box(u"txtFileName"_s)->setText(QStringLiteral("entered"));
    QTest::keyClick(w.box(u"txtFileName"_s), Qt::Key_Return);
    QTRY_COMPARE(w.step(), int(kCompletion));
    QCOMPARE(w.label(u"lblFileName"_s)->text(), QStringLiteral("entered.html"));
    QVERIFY(QFileInfo::exists(m_images->filePath("entered.html")));
    QVERIFY(w.prompts.messages.isEmpty());
}

void TestNavigation::startFolderThatCannotBeOpenedIsReported()
{
    // A folder given at the start that cannot be opened is told about, with the system's
    // reason, over the wizard once it shows; Step 1 then shows its start folder as it would
    // without one, even where that folder was still being read.
    RecordingPrompts prompts;
    bool overTheWizard = false;
    formVG form(QDir::currentPath(), &prompts);
    prompts.onMessage = [&](const MessageRequest&) {
        overTheWizard = form.windowHandle() != nullptr && form.windowHandle()->isExposed();
    };
    const QString missing = m_images->filePath("no such folder");
    form.openFolderOnceShown(missing);
    form.show();
    QTRY_COMPARE(prompts.messages.size(), 1);
    QCOMPARE(prompts.texts(), QStringList{u"The directory \""_s + missing +
                                          u"\" cannot be opened: No such file or directory"_s});
    QCOMPARE(prompts.messages.first().title, kTitle);
    QVERIFY(overTheWizard);

    // Given while a slow reading is under way, it waits for that reading.
    auto* step1 = form.findChild<Step1Panel*>();
    step1->setScanHook([](const QByteArray&, std::size_t) { QThread::msleep(200); });
    step1->startOpening(QFile::encodeName(m_images->path()));
    form.openFolderOnceShown(missing);
    QTRY_COMPARE(prompts.messages.size(), 2);
    QTRY_VERIFY(!step1->isListing());
    QCOMPARE(step1->filePath(), m_images->path());
    QCOMPARE(step1->fileCount(), 3);
}

void TestNavigation::screenReadersHearTheMoves()
{
    WizardDriver w;
    w.advanceTo(kStep2, m_images->path());
    // Each count is its list's label, and the list tells it too.
    auto* unselected = w.list(u"lstUnselected"_s);
    QAccessibleInterface* count =
        QAccessible::queryAccessibleInterface(w.label(u"lblUnselected"_s));
    const auto labelled = count->relations(QAccessible::Labelled);
    QCOMPARE(labelled.size(), 1);
    QCOMPARE(labelled.first().first->object(), unselected);
    QCOMPARE(QAccessible::queryAccessibleInterface(unselected)->text(QAccessible::Description),
             QStringLiteral("3 Image(s) Unselected"));
    // The new counts travel with the move buttons, where the focus is after a move.
    w.clickMove(Step2Panel::kAllRight);
    QCOMPARE(w.moveButton(Step2Panel::kAllRight)->accessibleDescription(),
             QStringLiteral("0 Image(s) Unselected, 3 Image(s) Selected"));
    // Moving on puts the focus inside the panel that names the step.
    w.click(formVG::kNext);
    const QWidget* focused = w.form.focusWidget();
    QVERIFY(focused != nullptr);
    QVERIFY(w.panel(kStep3)->isAncestorOf(focused));
    QCOMPARE(QAccessible::queryAccessibleInterface(w.panel(kStep3))->text(QAccessible::Name),
             QStringLiteral("Step 3: ThumbNail Appearance"));

    // The colour buttons and the sample tell the colours chosen.
    auto* fg = w.find<QPushButton>(memberName(u"cmdColor", Step3Panel::kForeground));
    auto* sample = w.label(u"lblColor"_s);
    QCOMPARE(fg->accessibleDescription(), QStringLiteral("Chosen: #000000"));
    QCOMPARE(sample->accessibleDescription(), QStringLiteral("Text #000000 on background #FFFFFF"));
    w.prompts.colorAnswers = {QColor(255, 0, 0)};
    QTest::mouseClick(fg, Qt::LeftButton);
    QCOMPARE(fg->accessibleDescription(), QStringLiteral("Chosen: #FF0000"));
    QCOMPARE(sample->accessibleDescription(), QStringLiteral("Text #FF0000 on background #FFFFFF"));
    QCOMPARE(w.find<QPushButton>(memberName(u"cmdColor", Step3Panel::kBackground))
                 ->accessibleDescription(),
             QStringLiteral("Chosen: #FFFFFF"));
}

void TestNavigation::exitEndsTheProgram()
{
    WizardDriver w;
    w.advanceTo(kStep3, m_images->path());
    QSignalSpy exits(&w.form, &formVG::exitRequested);
    w.click(formVG::kExit);
    QCOMPARE(exits.count(), 1);
    QVERIFY(!w.form.isVisible());
    QVERIFY(w.prompts.messages.isEmpty());
}

void TestNavigation::closingTheWindowEndsTheProgram()
{
    WizardDriver w;
    QSignalSpy exits(&w.form, &formVG::exitRequested);
    QVERIFY(w.form.close());
    QCOMPARE(exits.count(), 1);
    QVERIFY(!w.form.isVisible());
}

void TestNavigation::doubleClickOnFinishDoesNotRestart()
{
    WizardDriver w;
    w.advanceTo(kStep4, m_images->path());
    // The first click finishes; the second lands on Restart, which has come up under the
    // pointer, and is part of the double click, not a click of its own.
    const QPoint finish = w.button(formVG::kFinish)->geometry().center();
    QTest::mouseDClick(w.form.windowHandle(), Qt::LeftButton, {}, finish);
    QTRY_COMPARE(w.step(), int(kCompletion));
    QCOMPARE(w.form.frontPanel(), int(kCompletion));
    QVERIFY(QFile::exists(m_images->filePath(u"Vignetta.html"_s)));
    // A click of its own restarts.
    w.click(formVG::kRestart);
    QCOMPARE(w.step(), int(kStep1));
}

void TestNavigation::namesAreShownAsPlainText()
{
    const QString markup = QStringLiteral("<h1><font color=red>WARNING</font></h1>");
    // The warning box shows its text as it is.
    QtPrompts prompts;
    QString shownText;
    Qt::TextFormat shownFormat = Qt::RichText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        shownText = box->text();
        shownFormat = box->textFormat();
        box->accept();
    });
    prompts.showMessage(nullptr, {.title = QStringLiteral("t"), .text = markup});
    QCOMPARE(shownText, markup);
    QCOMPARE(shownFormat, Qt::PlainText);

    // A folder and an image whose names look like markup show as written in their tooltips.
    m_images->addDirs({markup.sliced(4, 10)}); // "<font colo"
    m_images->addFiles({u"<b>bold.jpg"_s});
    WizardDriver w;
    QVERIFY(w.step1()->openDirectory(m_images->path()));
    auto shown = [](QAbstractItemView* view, const QString& name) {
        for (int row = 0; row < view->model()->rowCount(); ++row) {
            const QModelIndex index = view->model()->index(row, 0);
            if (index.data().toString() != name)
                continue;
            QTextDocument document;
            QString tip = index.data(Qt::ToolTipRole).toString();
            if (!Qt::mightBeRichText(tip))
                return tip;
            document.setHtml(tip);
            return document.toPlainText();
        }
        return QStringLiteral("<no row>");
    };
    QCOMPARE(shown(w.find<DirList>(u"Dir1"_s), u"<font colo"_s),
             m_images->filePath(u"<font colo"_s));
    QCOMPARE(shown(w.find<QAbstractItemView>(u"File1"_s), u"<b>bold.jpg"_s), u"<b>bold.jpg"_s);
}

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
