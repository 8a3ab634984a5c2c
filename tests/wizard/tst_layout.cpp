#include "support/wizard_driver.h"

#include "ui/twips.h"
#include "ui/ui_kit.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QStyleOptionButton>

#include "wizard/completion_panel.h"

using namespace vignetta;
using namespace Qt::Literals::StringLiterals;

namespace {

QWidget* control(const formVG& form, const QString& name)
{
    if (name == u"formVG")
        return const_cast<formVG*>(&form);
    return form.findChild<QWidget*>(name);
}

QString accessibleName(QWidget* widget)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(QAccessible::Name) : QString();
}

} // namespace

class TestLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void windowSize();
    void placesAndTabIndexes_data();
    void placesAndTabIndexes();
    void captions_data();
    void captions();
    void focusFollowsTabIndexes();
    void accessKeysAreUnique();
    void accessibleNames_data();
    void accessibleNames();
    void picturesShowTheirArtwork();
    void textsFitTheirControls();
    void captionsHaveTheirColours_data();
    void captionsHaveTheirColours();
};

void TestLayout::windowSize()
{
    WizardDriver w;
    QCOMPARE(w.form.size(), QSize(482, 373));
    QCOMPARE(w.form.minimumSize(), w.form.maximumSize());
    QCOMPARE(px(5784), 482);
    QCOMPARE(px(170), 14);
}

void TestLayout::placesAndTabIndexes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<int>("tabIndex");

    auto row = [](const char* name, const char* parent, int l, int t, int w, int h, int tab) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(parent)
                            << QRect(l, t, w, h) << tab;
    };
    row("cmdButtons(0)", "formVG", 120, 3960, 972, 372, 0);
    row("cmdButtons(1)", "formVG", 2520, 3960, 972, 372, 1);
    row("cmdButtons(2)", "formVG", 3600, 3960, 972, 372, 2);
    row("cmdButtons(3)", "formVG", 4680, 3960, 972, 372, 3);
    row("cmdButtons(4)", "formVG", 4680, 3960, 972, 372, 4);
    row("cmdButtons(5)", "formVG", 4920, 360, 732, 252, 5);
    row("cmdButtons(6)", "formVG", 4920, 120, 732, 252, 6);
    for (int i = 0; i < 6; ++i) {
        const QByteArray name = "frmStep(" + QByteArray::number(i) + ")";
        row(name.constData(), "formVG", 120, 720, 5532, 3132, i < 5 ? 7 + i : 57);
    }
    row("Image3", "formVG", 240, 120, 540, 540, -1);
    row("Image2", "formVG", 1560, 120, 2508, 540, -1);
    // Step 1
    row("Label1(0)", "frmStep(0)", 120, 360, 5292, 252, 15);
    row("Drive1", "frmStep(0)", 120, 720, 5292, 288, 14);
    row("Dir1", "frmStep(0)", 120, 1080, 2532, 1968, 12);
    row("File1", "frmStep(0)", 2760, 1080, 2652, 1800, 13);
    // Step 2
    row("Label1(1)", "frmStep(1)", 120, 360, 5292, 252, 18);
    row("lblUnselected", "frmStep(1)", 120, 720, 2052, 252, 19);
    row("lblSelected", "frmStep(1)", 3360, 720, 2052, 252, 20);
    row("lstUnselected", "frmStep(1)", 120, 960, 2052, 1800, 16);
    row("lstSelected", "frmStep(1)", 3360, 960, 2052, 1800, 17);
    row("cmdStep2(2)", "frmStep(1)", 2280, 1080, 972, 372, 23);
    row("cmdStep2(3)", "frmStep(1)", 2280, 1440, 972, 372, 24);
    row("cmdStep2(0)", "frmStep(1)", 2280, 2160, 972, 372, 21);
    row("cmdStep2(1)", "frmStep(1)", 2280, 2520, 972, 372, 22);
    // Step 3
    row("Frame1(0)", "frmStep(2)", 120, 360, 1212, 2652, 25);
    row("Frame1(1)", "frmStep(2)", 1440, 360, 1212, 2652, 26);
    row("Frame1(2)", "frmStep(2)", 2880, 360, 1212, 2652, 27);
    row("Frame1(3)", "frmStep(2)", 4200, 360, 1212, 2652, 28);
    row("Label1(2)", "Frame1(0)", 120, 360, 972, 852, 29);
    row("Label1(6)", "Frame1(0)", 120, 1320, 492, 252, 33);
    row("txtWidth", "Frame1(0)", 120, 1560, 972, 288, 36);
    row("Label1(7)", "Frame1(0)", 120, 2040, 492, 252, 34);
    row("txtHeight", "Frame1(0)", 120, 2280, 972, 288, 35);
    row("Label1(3)", "Frame1(1)", 120, 360, 972, 972, 30);
    row("Label1(8)", "Frame1(1)", 120, 2040, 612, 252, 37);
    row("txtColumns", "Frame1(1)", 120, 2280, 972, 288, 38);
    row("Label1(4)", "Frame1(2)", 120, 360, 972, 612, 31);
    row("Check1", "Frame1(2)", 120, 1560, 972, 252, 39);
    row("Label1(9)", "Frame1(2)", 120, 2040, 732, 252, 40);
    row("txtThickness", "Frame1(2)", 120, 2280, 972, 288, 41);
    row("Label1(5)", "Frame1(3)", 120, 360, 972, 1092, 32);
    row("cmdColor(0)", "Frame1(3)", 120, 1560, 492, 252, 43);
    row("cmdColor(1)", "Frame1(3)", 600, 1560, 492, 252, 44);
    row("lblColor", "Frame1(3)", 120, 1920, 972, 612, 42);
    // Step 4
    row("Label1(10)", "frmStep(3)", 240, 240, 5052, 252, 45);
    row("Label1(11)", "frmStep(3)", 240, 480, 5052, 252, 46);
    row("Label1(12)", "frmStep(3)", 240, 720, 5052, 252, 47);
    row("Label1(13)", "frmStep(3)", 240, 960, 5052, 252, 48);
    row("Frame2", "frmStep(3)", 240, 1800, 1332, 852, 50);
    row("txtFileName", "frmStep(3)", 240, 2760, 5052, 288, 49);
    row("optExtension(0)", "Frame2", 120, 240, 1092, 252, 51);
    row("optExtension(1)", "Frame2", 120, 480, 1092, 252, 52);
    // Completion
    row("Label1(21)", "frmStep(4)", 120, 600, 5292, 192, 55);
    row("lblFileName", "frmStep(4)", 120, 1200, 5292, 372, 56);
    row("Label1(15)", "frmStep(4)", 120, 2160, 5292, 192, 54);
    row("Label1(16)", "frmStep(4)", 120, 2520, 5292, 192, 53);
    // About
    row("Image1", "frmStep(5)", 170, 360, 5184, 876, -1);
    row("Label1(14)", "frmStep(5)", 120, 1320, 5292, 252, 59);
    row("Label1(19)", "frmStep(5)", 120, 1920, 5292, 252, 61);
    row("Label1(20)", "frmStep(5)", 120, 2160, 5292, 252, 62);
    row("cmdOk", "frmStep(5)", 4560, 2760, 732, 252, 58);
}

void TestLayout::placesAndTabIndexes()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, twips);
    QFETCH(int, tabIndex);

    WizardDriver w;
    const QList<QWidget*> found = w.form.findChildren<QWidget*>(name);
    QCOMPARE(found.size(), 1); // names are unique on the window
    QWidget* widget = found.first();
    QCOMPARE(widget->parentWidget(), control(w.form, parent));
    QCOMPARE(widget->geometry(),
             QRect(twips.x() / 12, twips.y() / 12, twips.width() / 12, twips.height() / 12));
    if (tabIndex >= 0)
        QCOMPARE(widget->property(kTabIndexProperty).toInt(), tabIndex);
}

void TestLayout::captions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    auto row = [](const char* name, const char* caption) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption);
    };
    row("cmdButtons(0)", "&Exit");
    row("cmdButtons(1)", "<< &Back");
    row("cmdButtons(2)", "&Next >>");
    row("cmdButtons(3)", "&Restart");
    row("cmdButtons(4)", "&Finish");
    row("cmdButtons(5)", "&Tutor");
    row("cmdButtons(6)", "&About");
    row("frmStep(0)", "Step 1: Drive/Directory Selection");
    row("frmStep(1)", "Step 2: Image Selection");
    row("frmStep(2)", "Step 3: ThumbNail Appearance");
    row("frmStep(3)", "Step 4: Page Name");
    row("frmStep(4)", "Page Creation Complete");
    row("frmStep(5)", "About Vignetta");
    row("Label1(0)", "Select the Drive and Directory containing desired image files.");
    row("Label1(1)", "Select the images from the Left, and add them to the Right.");
    row("cmdStep2(0)", "All -->");
    row("cmdStep2(1)", "<-- All");
    row("cmdStep2(2)", "Add -->");
    row("cmdStep2(3)", "<-- Remove");
    row("Frame1(0)", "Width/Height");
    row("Frame1(1)", "Columns");
    row("Frame1(2)", "Border");
    row("Frame1(3)", "Background");
    row("Label1(2)", "Enter the Width and Height for ThumbNails");
    row("Label1(6)", "Width");
    row("Label1(7)", "Height");
    row("Label1(3)", "Enter the number of ThumbNails to put in each Column");
    row("Label1(8)", "Columns");
    row("Label1(4)", "Enter Border Thickness, if any");
    row("Check1", "Border");
    row("Label1(9)", "Thickness");
    row("Label1(5)", "Enter ForeGround and Background Color");
    row("cmdColor(0)", "FG");
    row("cmdColor(1)", "BG");
    row("lblColor", "           Sample Text");
    row("Label1(10)", "Give the file a name.");
    row("Label1(11)", R"(Select either "HTML" or "HTM" as the extension.)");
    row("Label1(12)", "Select Finish to write the file.");
    row("Label1(13)", "The file will be saved in the same directory as the selected image files.");
    row("Frame2", "Extension");
    row("optExtension(0)", "html");
    row("optExtension(1)", "htm");
    row("Label1(21)", "File has been written as");
    row("lblFileName", "");
    row("Label1(15)", "Thank you for using Vignetta.");
    row("Label1(16)", "Select the Restart button to create another ThumbNail page.");
    row("Label1(14)", "version 1.0");
    row("cmdOk", "&Ok");
}

void TestLayout::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    WizardDriver w;
    QWidget* widget = control(w.form, name);
    QVERIFY(widget);
    if (auto* label = qobject_cast<QLabel*>(widget))
        QCOMPARE(label->text(), caption);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        QCOMPARE(button->text(), caption);
    else if (auto* frame = qobject_cast<QGroupBox*>(widget))
        QCOMPARE(frame->title(), caption);
    else
        QFAIL("no caption");
}

void TestLayout::focusFollowsTabIndexes()
{
    WizardDriver w;
    QList<QWidget*> chain;
    QWidget* start = w.button(formVG::kExit);
    QWidget* at = start;
    do {
        if (at->property(kTabIndexProperty).isValid() && at->focusPolicy() != Qt::NoFocus)
            chain.append(at);
        at = at->nextInFocusChain();
    } while (at != start);

    QStringList order;
    for (QWidget* widget : chain)
        order.append(widget->objectName());
    QCOMPARE(order,
             (QStringList{"cmdButtons(0)",   "cmdButtons(1)",   "cmdButtons(2)", "cmdButtons(3)",
                          "cmdButtons(4)",   "cmdButtons(5)",   "cmdButtons(6)", "Dir1",
                          "File1",           "Drive1",          "lstUnselected", "lstSelected",
                          "cmdStep2(0)",     "cmdStep2(1)",     "cmdStep2(2)",   "cmdStep2(3)",
                          "txtHeight",       "txtWidth",        "txtColumns",    "Check1",
                          "txtThickness",    "cmdColor(0)",     "cmdColor(1)",   "txtFileName",
                          "optExtension(0)", "optExtension(1)", "cmdOk"}));
}

void TestLayout::accessKeysAreUnique()
{
    WizardDriver w;
    QMap<QChar, QString> keys;
    const QList<QAbstractButton*> buttons = w.form.findChildren<QAbstractButton*>();
    for (QAbstractButton* button : buttons) {
        const QString text = button->text();
        const qsizetype amp = text.indexOf(u'&');
        if (amp < 0 || amp + 1 >= text.size())
            continue;
        const QChar key = text.at(amp + 1).toUpper();
        QVERIFY2(!keys.contains(key), qPrintable(key + QStringLiteral(" on ") + keys.value(key) +
                                                 u" and " + button->objectName()));
        keys.insert(key, button->objectName());
    }
    QString all;
    for (const QChar key : keys.keys())
        all.append(key);
    QCOMPARE(all, QStringLiteral("ABEFNORT"));
}

void TestLayout::accessibleNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessible");
    auto row = [](const char* name, const char* accessible) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(accessible);
    };
    row("cmdButtons(1)", "<< Back");
    row("cmdButtons(2)", "Next >>");
    row("cmdOk", "Ok");
    row("Label1(6)", "Width");
    row("txtWidth", "Width");
    row("txtHeight", "Height");
    row("txtColumns", "Columns");
    row("txtThickness", "Thickness");
    row("txtFileName", "Page name");
    row("lstUnselected", "Unselected");
    row("lstSelected", "Selected");
    row("Drive1", "Drives");
    row("Dir1", "Directories");
    row("File1", "Files");
    row("Check1", "Border");
    row("optExtension(1)", "htm");
    row("Image2", "Vignetta");
}

void TestLayout::accessibleNames()
{
    QFETCH(QString, name);
    QFETCH(QString, accessible);
    WizardDriver w;
    QWidget* widget = control(w.form, name);
    QVERIFY(widget);
    QCOMPARE(accessibleName(widget), accessible);
}

void TestLayout::picturesShowTheirArtwork()
{
    WizardDriver w;
    const struct
    {
        const char* name;
        QSize size;
    } pictures[] = {{"Image3", {45, 45}}, {"Image2", {205, 41}}, {"Image1", {428, 69}}};
    for (const auto& p : pictures) {
        auto* label = w.form.findChild<QLabel*>(QString::fromLatin1(p.name));
        QVERIFY(label);
        const QPixmap pixmap = label->pixmap();
        QCOMPARE(pixmap.size(), p.size);
        // The picture plus its border fills the box exactly.
        const int border = label->frameWidth();
        QCOMPARE(label->size(), p.size + QSize(2 * border, 2 * border));
        // Real artwork: more than one colour.
        const QImage image = pixmap.toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 3)
            for (int x = 0; x < image.width(); x += 3)
                colours.insert(image.pixel(x, y));
        QVERIFY2(colours.size() > 8, p.name);
    }
    QVERIFY(!w.form.windowIcon().isNull());
}

void TestLayout::textsFitTheirControls()
{
    WizardDriver w;
    w.label(u"lblFileName"_s)->setText(QStringLiteral("Vignetta.html"));
    QStringList cut;
    const QList<QWidget*> all = w.form.findChildren<QWidget*>();
    for (QWidget* widget : all) {
        QString text;
        QRect room = widget->contentsRect();
        int flags = Qt::TextShowMnemonic;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (!label->pixmap().isNull() || label->text().isEmpty())
                continue;
            text = label->text();
            room = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                  -label->margin(), -label->margin());
            if (label->wordWrap())
                flags |= Qt::TextWordWrap;
        } else if (auto* push = qobject_cast<QPushButton*>(widget)) {
            // A push button's text goes inside the style's margins.
            QStyleOptionButton option;
            option.initFrom(push);
            option.text = push->text();
            room = push->style()->subElementRect(QStyle::SE_PushButtonContents, &option, push);
            text = push->text();
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            // Check box and option buttons: box, gap and text.
            if (button->sizeHint().width() > button->width())
                cut.append(button->objectName());
            continue;
        } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            text = frame->title();
        } else {
            continue;
        }
        const QRect needed = widget->fontMetrics().boundingRect(room, flags, text);
        if (needed.width() > room.width() || needed.height() > room.height())
            cut.append(widget->objectName() + QStringLiteral(" needs ") +
                       QString::number(needed.width()) + u'x' + QString::number(needed.height()) +
                       QStringLiteral(" has ") + QString::number(room.width()) + u'x' +
                       QString::number(room.height()));
    }
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
}

void TestLayout::captionsHaveTheirColours_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("colour");
    const QColor blue(0, 0, 255);
    const QColor darkRed(192, 0, 0);
    const QColor black(0, 0, 0);
    QTest::newRow("Label1(0)") << "Label1(0)" << blue;
    QTest::newRow("Label1(5)") << "Label1(5)" << blue;
    QTest::newRow("Label1(6)") << "Label1(6)" << black;
    QTest::newRow("Label1(13)") << "Label1(13)" << blue;
    QTest::newRow("lblFileName") << "lblFileName" << darkRed;
    QTest::newRow("Label1(19)") << "Label1(19)" << black;
    QTest::newRow("Frame1(2)") << "Frame1(2)" << darkRed;
    QTest::newRow("Frame2") << "Frame2" << darkRed;
}

void TestLayout::captionsHaveTheirColours()
{
    QFETCH(QString, name);
    QFETCH(QColor, colour);
    WizardDriver w;
    QWidget* widget = control(w.form, name);
    QVERIFY(widget);
    if (auto* frame = qobject_cast<CaptionedFrame*>(widget)) {
        // The caption is painted in its colour, the frame's controls keep theirs.
        const QImage image = frame->grab().toImage();
        bool found = false;
        for (int y = 0; y < 16 && !found; ++y)
            for (int x = 0; x < image.width() && !found; ++x)
                found = qAbs(image.pixelColor(x, y).red() - colour.red()) < 24 &&
                        qAbs(image.pixelColor(x, y).green() - colour.green()) < 24 &&
                        qAbs(image.pixelColor(x, y).blue() - colour.blue()) < 24;
        QVERIFY2(found, "caption colour not painted");
        for (QWidget* child : frame->findChildren<QWidget*>()) {
            if (!qobject_cast<QLabel*>(child))
                QVERIFY(child->palette().color(QPalette::WindowText) != colour);
        }
    } else {
        QCOMPARE(widget->palette().color(QPalette::WindowText), colour);
    }
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
