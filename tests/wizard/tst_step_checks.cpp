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

QTEST_APPLESS_MAIN(TestStepChecks)
#include "tst_step_checks.moc"
