// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wizard/finish_texts.h"
#include "wizard/step_checks.h"

#include <QTest>

using namespace vignetta;

// The checks that keep the user on a step, as pure functions of the step's values; the window
// tests show that the navigation shows their warnings and stays.
class TestStepChecks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void countsOfStepsOneAndTwo();
    void stepThree_data();
    void stepThree();
    void positionsPastStepFour();
    void thumbnailSizes_data();
    void thumbnailSizes();
    void progressTexts_data();
    void progressTexts();
    void unreadableImages();
};

void TestStepChecks::countsOfStepsOneAndTwo()
{
    QCOMPARE(step1Problem(0), QStringLiteral("No image files in selected directory!"));
    QCOMPARE(step1Problem(1), std::nullopt);
    QCOMPARE(step2Problem(0), QStringLiteral("No image files are selected"));
    QCOMPARE(step2Problem(100000), std::nullopt);
}

void TestStepChecks::stepThree_data()
{
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("message"); // empty: the step passes

    const QString cols =
        QStringLiteral("Columns should be a value < or = the number of images, but > than 0");
    const QString size = QStringLiteral("Width and Height should be a value greater 0");
    QTest::newRow("defaults") << "1"
                              << "150"
                              << "150"
                              << "";
    QTest::newRow("columns 0") << "0"
                               << "150"
                               << "150" << cols;
    QTest::newRow("columns empty") << ""
                                   << "150"
                                   << "150" << cols;
    QTest::newRow("columns abc") << "abc"
                                 << "150"
                                 << "150" << cols;
    QTest::newRow("columns -1") << "-1"
                                << "150"
                                << "150" << cols;
    QTest::newRow("columns = images") << "3"
                                      << "150"
                                      << "150"
                                      << "";
    QTest::newRow("columns > images") << "4"
                                      << "150"
                                      << "150" << cols;
    QTest::newRow("columns 2.5") << "2.5"
                                 << "150"
                                 << "150"
                                 << "";
    QTest::newRow("columns 3.01") << "3.01"
                                  << "150"
                                  << "150" << cols;
    QTest::newRow("columns 0.5 passes") << "0.5"
                                        << "150"
                                        << "150"
                                        << "";
    QTest::newRow("width 0") << "1"
                             << "0"
                             << "150" << size;
    QTest::newRow("width empty") << "1"
                                 << ""
                                 << "150" << size;
    QTest::newRow("width abc") << "1"
                               << "abc"
                               << "150" << size;
    QTest::newRow("height 0") << "1"
                              << "150"
                              << "0" << size;
    QTest::newRow("height empty") << "1"
                                  << "150"
                                  << "" << size;
    QTest::newRow("height -5") << "1"
                               << "150"
                               << "-5" << size;
    QTest::newRow("width 12abc") << "1"
                                 << "12abc"
                                 << "150"
                                 << "";
    QTest::newRow("width with blanks") << "1"
                                       << "  150  "
                                       << "150"
                                       << "";
    QTest::newRow("width 150px") << "1"
                                 << "150px"
                                 << "150"
                                 << "";
    QTest::newRow("both wrong: columns first") << "0"
                                               << "0"
                                               << "0" << cols;
}

void TestStepChecks::stepThree()
{
    QFETCH(QString, columns);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, message);
    // Three images are selected.
    Step3Values values;
    values.sWidth = width;
    values.sHeight = height;
    values.sColumns = columns;
    const std::optional<QString> problem = step3Problem(values, 3);
    QCOMPARE(problem.value_or(QString()), message);
    QCOMPARE(problem.has_value(), !message.isEmpty());
}

void TestStepChecks::positionsPastStepFour()
{
    QCOMPARE(positionProblem(kStep4), std::nullopt);
    QCOMPARE(positionProblem(kCompletion), QString());
    QVERIFY(positionProblem(kCompletion).has_value());
}

void TestStepChecks::thumbnailSizes_data()
{
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("message"); // empty: thumbnails can be made

    const QString need =
        QStringLiteral("Thumbnail files need the Width and Height in pixels, such as 150: the ");
    QTest::newRow("defaults") << "150"
                              << "150"
                              << "";
    QTest::newRow("px and a fraction") << "150 PX"
                                       << "80.5"
                                       << "";
    // Step 3 reads 12abc as 12; a thumbnail needs to know what was meant.
    QTest::newRow("width 12abc") << "12abc"
                                 << "150" << need + QStringLiteral("Width is \"12abc\".");
    QTest::newRow("width in percent, height empty")
        << "50%"
        << "" << need + QStringLiteral("Width is \"50%\".");
    QTest::newRow("height empty") << "150"
                                  << "" << need + QStringLiteral("Height is \"\".");
}

void TestStepChecks::thumbnailSizes()
{
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, message);
    const std::optional<QString> problem = thumbnailSizeProblem(width, height);
    QCOMPARE(problem.value_or(QString()), message);
    QCOMPARE(problem.has_value(), !message.isEmpty());
}

void TestStepChecks::progressTexts_data()
{
    QTest::addColumn<int>("done");
    QTest::addColumn<qint64>("msLeft");
    QTest::addColumn<QString>("text");

    const auto of12 = [](const char* timeLeft) -> QString {
        return QStringLiteral("3 of 12 files made\n") + QString::fromLatin1(timeLeft);
    };
    QTest::newRow("not known yet") << 3 << qint64(-1) << of12("Working out the time left...");
    QTest::newRow("under a second") << 3 << qint64(1) << of12("About 1 second left");
    QTest::newRow("seconds, rounded up") << 3 << qint64(4200) << of12("About 5 seconds left");
    QTest::newRow("just over a minute") << 3 << qint64(60001) << of12("About 1 minute left");
    QTest::newRow("two and a half minutes") << 3 << qint64(150000) << of12("About 3 minutes left");
    QTest::newRow("two hours") << 3 << qint64(7200000) << of12("About 2 hours left");
    QTest::newRow("all done") << 12 << qint64(0)
                              << QStringLiteral("12 of 12 files made\nAlmost done");
}

void TestStepChecks::progressTexts()
{
    QFETCH(int, done);
    QFETCH(qint64, msLeft);
    QFETCH(QString, text);
    QCOMPARE(publishProgressText(done, 12, msLeft), text);
}

void TestStepChecks::unreadableImages()
{
    QCOMPARE(problemsNoteText(0), QString());
    QCOMPARE(problemsNoteText(1), QStringLiteral("Problems with 1 image:"));
    QCOMPARE(problemsNoteText(2), QStringLiteral("Problems with 2 images:"));
    // What the page gives away of where its photos were taken.
    QCOMPARE(locationNoteText(0, 0), QString());
    QCOMPARE(locationNoteText(0, 3),
             QStringLiteral("None of the 3 photos this page links record where they were taken."));
    QCOMPARE(
        locationNoteText(12, 40),
        QStringLiteral("12 of the 40 photos this page links record where they were taken (GPS)."));
    QCOMPARE(
        locationNoteText(1, 40),
        QStringLiteral("1 of the 40 photos this page links records where it was taken (GPS)."));
}

QTEST_APPLESS_MAIN(TestStepChecks)
#include "tst_step_checks.moc"
