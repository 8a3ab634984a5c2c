// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The floating tutor, driven through the real window's Tutor button.
#include "support/wizard_driver.h"

#include "tutor/form_tutor.h"
#include "tutor/tutor_hints.h"
#include "tutor/tutor_place.h"
#include "ui/twips.h"
#include "wizard/about_panel.h"

#include <QAccessible>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>

using namespace vignetta;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kStepOne = tutorHint(0).value_or(QString());
const QString kStepTwo = tutorHint(1).value_or(QString());

// The tutor window's label and client area agree with the sizing rule: the label 1704 twips
// wide and exactly as high as its wrapped text, the client area 240 twips larger each way, so
// the whole hint shows whatever frame the window system adds.
void verifyFitted(const FormTutor* tutor)
{
    const QLabel* label = tutor->lblTutor();
    QCOMPARE(label->pos(), QPoint(0, 0));
    QCOMPARE(label->width(), px(1704));
    if (!label->text().isEmpty())
        QCOMPARE(label->height(), label->heightForWidth(px(1704)));
    QCOMPARE(tutor->size(), QSize(px(1944), label->height() + px(240)));
}

} // namespace

class TestTutor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();

    void hints_data();
    void hints();
    void noHintBeyondStepFour_data();
    void noHintBeyondStepFour();

    void onAtStepOne();
    void nextAndBackReplaceTheHint();
    void refusedNextKeepsTheHint();
    void finishTurnsItOffOnceThePageIsWritten();
    void onAtCompletionPanelShowsEmptyLabel();
    void offOnOffLeavesNoWindow();
    void turnedOnAgainOpensAfreshAtItsPlace();
    void aboutDisablesTheButtonAndKeepsTheHint();
    void exitClosesTheTutorFirst();
    void closingTheTutorByItsFrameTurnsItOff();
    void closingTheMainWindowClosesTheTutor();
    void placeBesideTheWizard_data();
    void placeBesideTheWizard();
    void opensBesideTheWizardOnItsScreen();
    void longerHintPlacedAgainClearOfTheWizard();
    void screenReadersFindTheHint();

private:
    ImageFolder* m_images = nullptr;
};

void TestTutor::cleanup()
{
    delete m_images;
    m_images = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestTutor::hints_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("hint");

    QTest::newRow("Step 1")
        << 0 << 252
        << QStringLiteral(
               "Step 1:     First, select the Drive and Directory containing the desired image "
               "files. Supported images include the following formats(.jpg, .gif, .bmp). Select "
               "the \"Next >>\" button to continue.     Select the \"Tutor\" button again to "
               "turn off this tutor.");
    QTest::newRow("Step 2")
        << 1 << 453
        << QStringLiteral(
               "Step 2:     Select the desired images from the Unselected list on the left, and "
               "move them to the Selected list on the right. You can move all images from list "
               "to list using the corresponding \"All\" button, or you can Highlight the desired "
               "images and move them using the \"Add\" and \"Remove\" buttons. Select the \"Next "
               ">>\" button to continue, or the \"<< Back\" button to return to the previous "
               "step.     Select the \"Tutor\" button again to turn off this tutor.");
    QTest::newRow("Step 3")
        << 2 << 498
        << QStringLiteral(
               "Step 3:     Decide on a size for the thumbnails, and enter the Width and Height. "
               "Then enter the number of thumbnails to place in each column. If you want a "
               "visible Border, make sure the \"Border\" box is Checked, then enter the Border "
               "Thickness. To complete this step, select a ForeGround color, and a BackGround "
               "color for your thumbnail page. Select the \"Next >>\" button to continue, or the "
               "\"<< Back\" button to return to the previous step.     Select the \"Tutor\" "
               "button again to turn off this tutor.");
    QTest::newRow("Step 4")
        << 3 << 341
        << QStringLiteral(
               "Step 4:     Finally, select a file Name and Extension for your thumbnail page. "
               "The created page will be placed on the same drive, and in the same directory as "
               "the selected images files. Select the \"Finish\" button to continue, or the \"<< "
               "Back\" button to return to the previous step.     Select the \"Tutor\" button "
               "again to turn off this tutor.");
}

void TestTutor::hints()
{
    QFETCH(int, step);
    QFETCH(int, length);
    QFETCH(QString, hint);
    QCOMPARE(hint.size(), length);
    QCOMPARE(tutorHint(step), std::optional<QString>(hint));
}

void TestTutor::noHintBeyondStepFour_data()
{
    QTest::addColumn<int>("step");
    QTest::newRow("completion panel") << 4;
    QTest::newRow("About panel") << 5;
    QTest::newRow("below Step 1") << -1;
}

void TestTutor::noHintBeyondStepFour()
{
    QFETCH(int, step);
    QCOMPARE(tutorHint(step), std::nullopt);
}

void TestTutor::onAtStepOne()
{
    WizardDriver w;
    QVERIFY(!w.form.state().bTutorOn);
    QVERIFY(tutorWindow() == nullptr);
    w.click(formVG::kTutor);

    QVERIFY(w.form.state().bTutorOn);
    FormTutor* tutor = tutorWindow();
    QVERIFY(tutor != nullptr);
    QVERIFY(tutor->isVisible());
    QVERIFY(tutor->isWindow());
    // A tool window of the wizard: kept with it and above it by the window system.
    QCOMPARE(tutor->parentWidget(), &w.form);
    QCOMPARE(tutor->windowType(), Qt::Tool);
    QCOMPARE(tutor->windowModality(), Qt::NonModal);
    QCOMPARE(tutor->objectName(), QStringLiteral("formTutor"));
    QCOMPARE(tutor->lblTutor()->objectName(), QStringLiteral("lblTutor"));
    QCOMPARE(tutor->lblTutor()->text(), kStepOne);
    verifyFitted(tutor);
    // The hint wraps onto several lines.
    QVERIFY(tutor->lblTutor()->height() > 3 * tutor->lblTutor()->fontMetrics().height());
    const QColor lightYellow(255, 255, 192);
    QCOMPARE(tutor->palette().color(QPalette::Window), lightYellow);
    QCOMPARE(tutor->lblTutor()->palette().color(QPalette::Window), lightYellow);
    QVERIFY(tutor->lblTutor()->autoFillBackground());
    // Beside the main window, which stays usable.
    QVERIFY(tutor->geometry().left() > w.form.geometry().left());
    QVERIFY(w.form.isEnabled());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void TestTutor::nextAndBackReplaceTheHint()
{
    m_images = new ImageFolder({"a.jpg"});
    WizardDriver w;
    QVERIFY(w.step1()->openDirectory(m_images->path()));
    w.click(formVG::kTutor);
    FormTutor* tutor = tutorWindow();
    const QRect atStepOne = tutor->geometry();

    w.click(formVG::kNext);
    QCOMPARE(w.step(), int(kStep2));
    QCOMPARE(tutorWindow(), tutor);
    QCOMPARE(tutor->lblTutor()->text(), kStepTwo);
    verifyFitted(tutor);
    // The longer hint makes the window taller; it stays where it was.
    QVERIFY(tutor->height() > atStepOne.height());
    QCOMPARE(tutor->geometry().topLeft(), atStepOne.topLeft());

    w.clickMove(Step2Panel::kAllRight);
    w.click(formVG::kNext);
    QCOMPARE(tutor->lblTutor()->text(), tutorHint(2).value_or(QString()));
    w.click(formVG::kNext);
    QCOMPARE(tutor->lblTutor()->text(), tutorHint(3).value_or(QString()));
    verifyFitted(tutor);

    w.click(formVG::kBack);
    w.click(formVG::kBack);
    w.click(formVG::kBack);
    QCOMPARE(w.step(), int(kStep1));
    QCOMPARE(tutor->lblTutor()->text(), kStepOne);
    QCOMPARE(tutor->geometry(), atStepOne);
}

void TestTutor::refusedNextKeepsTheHint()
{
    m_images = new ImageFolder({"notes.txt"});
    WizardDriver w;
    QVERIFY(w.step1()->openDirectory(m_images->path()));
    w.click(formVG::kTutor);
    const QRect before = tutorWindow()->geometry();
    w.click(formVG::kNext);
    QCOMPARE(w.prompts.messages.size(), 1);
    QCOMPARE(w.step(), int(kStep1));
    QCOMPARE(tutorWindow()->lblTutor()->text(), kStepOne);
    QCOMPARE(tutorWindow()->geometry(), before);
}

void TestTutor::finishTurnsItOffOnceThePageIsWritten()
{
    m_images = new ImageFolder({"a.jpg"});
    {
        WizardDriver w;
        w.advanceTo(kStep4, m_images->path());
        w.click(formVG::kTutor);
        w.click(formVG::kFinish);
        QCOMPARE(w.step(), int(kCompletion));
        QVERIFY(!w.form.state().bTutorOn);
        QVERIFY(tutorWindow() == nullptr);
        QCOMPARE(QApplication::topLevelWidgets(), QWidgetList{&w.form});
    }
    {
        // A page that cannot be written leaves the user on Step 4 with the tutor as it was.
        WizardDriver w;
        w.advanceTo(kStep4, m_images->path());
        w.click(formVG::kTutor);
        QPointer<FormTutor> tutor = tutorWindow();
        w.box(u"txtFileName"_s)->setText(QStringLiteral("no/such"));
        w.click(formVG::kFinish);
        QCOMPARE(w.prompts.messages.size(), 1);
        QCOMPARE(w.step(), int(kStep4));
        QVERIFY(w.form.state().bTutorOn);
        QVERIFY(!tutor.isNull());
        QVERIFY(tutor->isVisible());
        QCOMPARE(control<QLabel>(tutor, u"lblTutor"_s)->text(), *tutorHint(kStep4));
    }
}

void TestTutor::onAtCompletionPanelShowsEmptyLabel()
{
    m_images = new ImageFolder({"a.jpg"});
    WizardDriver w;
    w.advanceTo(kCompletion, m_images->path());
    w.click(formVG::kTutor);
    FormTutor* tutor = tutorWindow();
    QVERIFY(tutor != nullptr);
    QVERIFY(tutor->isVisible());
    QCOMPARE(tutor->lblTutor()->text(), QString());
    verifyFitted(tutor);
    QVERIFY(tutor->lblTutor()->height() > 0);
    const QRect before = tutor->geometry();

    // Restart leaves the tutor alone; the next Next shows the Step 2 hint.
    w.click(formVG::kRestart);
    QCOMPARE(w.step(), int(kStep1));
    QCOMPARE(tutor->lblTutor()->text(), QString());
    QCOMPARE(tutor->geometry(), before);
    w.click(formVG::kNext);
    QCOMPARE(tutor->lblTutor()->text(), kStepTwo);
}

void TestTutor::offOnOffLeavesNoWindow()
{
    WizardDriver w;
    w.click(formVG::kTutor);
    QVERIFY(tutorWindow() != nullptr);
    w.click(formVG::kTutor);
    QVERIFY(!w.form.state().bTutorOn);
    QVERIFY(tutorWindow() == nullptr);
    QCOMPARE(QApplication::topLevelWidgets(), QWidgetList{&w.form});
}

void TestTutor::turnedOnAgainOpensAfreshAtItsPlace()
{
    WizardDriver w;
    w.click(formVG::kTutor);
    const QPoint initialPlace = tutorWindow()->geometry().topLeft();
    QPointer<FormTutor> first = tutorWindow();
    first->move(first->pos() + QPoint(40, 30));
    w.click(formVG::kTutor);
    QVERIFY(first.isNull());
    w.click(formVG::kTutor);
    QVERIFY(tutorWindow() != nullptr);
    QCOMPARE(tutorWindow()->geometry().topLeft(), initialPlace);
    QCOMPARE(tutorWindow()->lblTutor()->text(), kStepOne);
}

void TestTutor::aboutDisablesTheButtonAndKeepsTheHint()
{
    m_images = new ImageFolder({"a.jpg"});
    WizardDriver w;
    w.advanceTo(kStep2, m_images->path());
    w.click(formVG::kTutor);
    w.click(formVG::kAbout);
    QVERIFY(!w.button(formVG::kTutor)->isEnabled());
    QCOMPARE(tutorWindow()->lblTutor()->text(), kStepTwo);
    QTest::mouseClick(w.find<QPushButton>(u"cmdOk"_s), Qt::LeftButton);
    QVERIFY(w.button(formVG::kTutor)->isEnabled());
    QVERIFY(w.form.state().bTutorOn);
    QCOMPARE(tutorWindow()->lblTutor()->text(), kStepTwo);
}

void TestTutor::exitClosesTheTutorFirst()
{
    WizardDriver w;
    w.click(formVG::kTutor);
    bool tutorGoneAtExit = false;
    connect(&w.form, &formVG::exitRequested, &w.form,
            [&] { tutorGoneAtExit = tutorWindow() == nullptr && !w.form.state().bTutorOn; });
    w.click(formVG::kExit);
    QVERIFY(tutorGoneAtExit);
    QVERIFY(!w.form.isVisible());
}

void TestTutor::closingTheTutorByItsFrameTurnsItOff()
{
    WizardDriver w;
    w.click(formVG::kTutor);
    QPointer<FormTutor> tutor = tutorWindow();
    QVERIFY(tutor->close());
    QVERIFY(!w.form.state().bTutorOn);
    QTRY_VERIFY(tutor.isNull());
    // One press opens it again.
    w.click(formVG::kTutor);
    QVERIFY(w.form.state().bTutorOn);
    QVERIFY(tutorWindow() != nullptr);
    QVERIFY(tutorWindow()->isVisible());
}

void TestTutor::closingTheMainWindowClosesTheTutor()
{
    WizardDriver w;
    w.click(formVG::kTutor);
    QSignalSpy exits(&w.form, &formVG::exitRequested);
    QVERIFY(w.form.close());
    QCOMPARE(exits.size(), 1);
    QVERIFY(tutorWindow() == nullptr);
    QCOMPARE(QApplication::topLevelWidgets(), QWidgetList{&w.form});
}

void TestTutor::placeBesideTheWizard_data()
{
    QTest::addColumn<QRect>("wizard");
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<int>("chars");
    QTest::addColumn<QRect>("frame");
    const QRect fullHd(0, 0, 1920, 1080);
    const QRect small(0, 0, 640, 512);
    // 440 characters make a tutor of 170 x 300 with its frame; 9 pixels stand between the two
    // windows.
    QTest::newRow("right of the wizard")
        << QRect(100, 100, 500, 400) << fullHd << 440 << QRect(609, 100, 170, 300);
    QTest::newRow("near the right edge: left of it")
        << QRect(1500, 100, 400, 400) << fullHd << 440 << QRect(1321, 100, 170, 300);
    QTest::newRow("low on the screen: raised to stay on it")
        << QRect(100, 900, 500, 150) << fullHd << 440 << QRect(609, 780, 170, 300);
    QTest::newRow("second screen, left of the first")
        << QRect(-1000, 200, 500, 400) << QRect(-1920, 0, 1920, 1080) << 440
        << QRect(-491, 200, 170, 300);
    QTest::newRow("second screen, above the first")
        << QRect(1700, -900, 200, 300) << QRect(0, -1080, 1920, 1080) << 440
        << QRect(1521, -900, 170, 300);
    QTest::newRow("no room beside: below")
        << QRect(100, 100, 600, 400) << QRect(0, 0, 800, 900) << 440 << QRect(100, 509, 170, 300);
    QTest::newRow("no room beside or below: above")
        << QRect(100, 450, 600, 400) << QRect(0, 0, 800, 900) << 440 << QRect(100, 141, 170, 300);
    // The wizard at a device scale of 2 on a 1280 x 1024 screen.
    QTest::newRow("small screen: narrower on the right")
        << QRect(0, 0, 490, 406) << small << 453 << QRect(499, 0, 141, 378);
    QTest::newRow("small screen, wizard on the right: narrower on the left")
        << QRect(150, 0, 490, 406) << small << 453 << QRect(0, 0, 141, 378);
    QTest::newRow("wide wizard: wider and shorter below")
        << QRect(0, 0, 600, 406) << small << 252 << QRect(0, 415, 532, 92);
    QTest::newRow("wide wizard low on the screen: wider and shorter above")
        << QRect(40, 106, 600, 406) << small << 252 << QRect(40, 5, 532, 92);
    QTest::newRow("small screen, a long hint: scrolls on the right")
        << QRect(0, 0, 490, 406) << small << 1500 << QRect(499, 0, 141, 512);
    // No place is clear of the wizard: the natural size where it covers least.
    QTest::newRow("nowhere clear: covers least")
        << QRect(40, 40, 700, 520) << QRect(0, 0, 800, 600) << 440 << QRect(630, 40, 170, 300);
    QTest::newRow("small screen, wizard in the middle: covers least")
        << QRect(75, 53, 490, 406) << small << 453 << QRect(470, 53, 170, 313);
}

void TestTutor::placeBesideTheWizard()
{
    QFETCH(QRect, wizard);
    QFETCH(QRect, screen);
    QFETCH(int, chars);
    QFETCH(QRect, frame);
    // Text wrapped about as the label does it: 6 pixels a character, 13 a line. The margin and
    // the window's frame add 28 x 53 to the label, 142 pixels wide when there is room.
    const auto height = [chars](int width) { return (chars * 6 + width - 1) / width * 13; };
    const QSize extra(28, 53);
    const QRect placed = tutorFrame(wizard, screen, 9, extra, 142, height);
    QCOMPARE(placed, frame);
    // Whatever its size, the whole hint shows, or it scrolls, and the tutor stays on the screen,
    // clear of the wizard unless no place is.
    const int needed = height(placed.width() - extra.width()) + extra.height();
    if (QByteArray(QTest::currentDataTag()).contains("scrolls"))
        QVERIFY(placed.height() < needed);
    else
        QCOMPARE(placed.height(), needed);
    QVERIFY(screen.contains(placed));
    if (!QByteArray(QTest::currentDataTag()).endsWith("covers least"))
        QVERIFY(!placed.intersects(wizard.adjusted(-9, -9, 9, 9)));
}

void TestTutor::opensBesideTheWizardOnItsScreen()
{
    WizardDriver w;
    const QRect screen = w.form.screen()->availableGeometry();
    w.form.move(screen.topLeft() + QPoint(20, 30));
    w.click(formVG::kTutor);
    FormTutor* tutor = tutorWindow();
    QVERIFY(tutor);
    // To the right, level with the wizard's top, covering none of it.
    QVERIFY(tutor->frameGeometry().left() > w.form.frameGeometry().right());
    QCOMPARE(tutor->frameGeometry().top(), w.form.frameGeometry().top());
    QVERIFY(screen.contains(tutor->frameGeometry()));
    w.click(formVG::kTutor);

    // Near the screen's right edge it opens on the left, not under the wizard.
    w.form.move(screen.right() - w.form.frameGeometry().width() - 10, screen.top() + 30);
    w.click(formVG::kTutor);
    tutor = tutorWindow();
    QVERIFY(tutor->frameGeometry().right() < w.form.frameGeometry().left());
    QVERIFY(!tutor->frameGeometry().intersects(w.form.frameGeometry()));
    QVERIFY(screen.contains(tutor->frameGeometry()));
    QCOMPARE(tutor->screen(), w.form.screen());
}

void TestTutor::longerHintPlacedAgainClearOfTheWizard()
{
    m_images = new ImageFolder({"a.jpg"});
    WizardDriver w;
    QVERIFY(w.step1()->openDirectory(m_images->path()));
    const QRect screen = w.form.screen()->availableGeometry();
    const QSize wizard = w.form.frameGeometry().size();
    if (screen.width() - wizard.width() >= 2 * (px(108) + px(1944)))
        QSKIP("the screen leaves room beside the wizard");
    w.click(formVG::kTutor);
    const int firstHeight = tutorWindow()->frameGeometry().height();
    w.click(formVG::kTutor);
    // Centred, with room below for the first hint and no more.
    w.form.move(screen.left() + (screen.width() - wizard.width()) / 2,
                screen.top() + screen.height() - wizard.height() - px(108) - firstHeight);
    w.click(formVG::kTutor);
    FormTutor* tutor = tutorWindow();
    QVERIFY(tutor->frameGeometry().top() > w.form.frameGeometry().bottom());

    // The longer hint would leave the screen there.
    w.click(formVG::kNext);
    QCOMPARE(tutor->lblTutor()->text(), kStepTwo);
    QVERIFY(screen.contains(tutor->frameGeometry()));
    QVERIFY(!tutor->frameGeometry().intersects(w.form.frameGeometry()));
    const QLabel* label = tutor->lblTutor();
    QCOMPARE(label->height(), label->heightForWidth(label->width()));
}

void TestTutor::screenReadersFindTheHint()
{
    m_images = new ImageFolder({"a.jpg"});
    WizardDriver w;
    QVERIFY(w.step1()->openDirectory(m_images->path()));
    const auto description = [&] {
        return QAccessible::queryAccessibleInterface(&w.form)->text(QAccessible::Description);
    };
    QCOMPARE(description(), QString());
    w.click(formVG::kTutor);
    QCOMPARE(description(), kStepOne);
    w.click(formVG::kNext);
    QCOMPARE(description(), kStepTwo);
    w.click(formVG::kTutor);
    QCOMPARE(description(), QString());
}

QTEST_MAIN(TestTutor)
#include "tst_tutor.moc"
