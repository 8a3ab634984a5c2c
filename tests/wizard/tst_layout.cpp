// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/wizard_driver.h"

#include "ui/picture.h"
#include "ui/twips.h"
#include "ui/ui_kit.h"
#include "wizard/completion_panel.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QProgressDialog>
#include <QStyleFactory>
#include <QStyleOptionButton>

#include <cmath>
#include <memory>

using namespace vignetta;
using namespace Qt::Literals::StringLiterals;

namespace {

QWidget* control(const formVG& form, const QString& name)
{
    if (name == u"formVG")
        return const_cast<formVG*>(&form);
    return form.findChild<QWidget*>(name);
}

QString accessibleText(QWidget* widget, QAccessible::Text kind = QAccessible::Name)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(kind) : QString();
}

// Every control's place in twips, its container and its tab index (-1: none), as designed.
struct Place
{
    const char* name;
    const char* parent;
    int left, top, width, height;
    int tabIndex;
};
const Place kPlaces[] = {
    {"cmdButtons(0)", "formVG", 120, 3960, 972, 372, 0},
    {"cmdButtons(1)", "formVG", 2520, 3960, 972, 372, 1},
    {"cmdButtons(2)", "formVG", 3600, 3960, 972, 372, 2},
    {"cmdButtons(3)", "formVG", 4680, 3960, 972, 372, 3},
    {"cmdButtons(4)", "formVG", 4680, 3960, 972, 372, 4},
    {"cmdButtons(5)", "formVG", 4920, 360, 732, 252, 5},
    {"cmdButtons(6)", "formVG", 4920, 120, 732, 252, 6},
    {"frmStep(0)", "formVG", 120, 720, 5532, 3132, 7},
    {"frmStep(1)", "formVG", 120, 720, 5532, 3132, 8},
    {"frmStep(2)", "formVG", 120, 720, 5532, 3132, 9},
    {"frmStep(3)", "formVG", 120, 720, 5532, 3132, 10},
    {"frmStep(4)", "formVG", 120, 720, 5532, 3132, 11},
    {"frmStep(5)", "formVG", 120, 720, 5532, 3132, 57},
    {"Image3", "formVG", 240, 120, 540, 540, -1},
    {"Image2", "formVG", 1560, 120, 2508, 540, -1},
    // Step 1
    {"Label1(0)", "frmStep(0)", 120, 360, 5292, 252, 15},
    {"Drive1", "frmStep(0)", 120, 720, 5292, 288, 14},
    {"Dir1", "frmStep(0)", 120, 1080, 2532, 1968, 12},
    {"File1", "frmStep(0)", 2760, 1080, 2652, 1800, 13},
    // Step 2
    {"Label1(1)", "frmStep(1)", 120, 360, 5292, 252, 18},
    {"lblUnselected", "frmStep(1)", 120, 720, 2052, 252, 19},
    {"lblSelected", "frmStep(1)", 3360, 720, 2052, 252, 20},
    {"lstUnselected", "frmStep(1)", 120, 960, 2052, 1800, 16},
    {"lstSelected", "frmStep(1)", 3360, 960, 2052, 1800, 17},
    {"cmdStep2(2)", "frmStep(1)", 2280, 1080, 972, 372, 23},
    {"cmdStep2(3)", "frmStep(1)", 2280, 1440, 972, 372, 24},
    {"cmdStep2(0)", "frmStep(1)", 2280, 2160, 972, 372, 21},
    {"cmdStep2(1)", "frmStep(1)", 2280, 2520, 972, 372, 22},
    // Step 3
    {"Frame1(0)", "frmStep(2)", 120, 360, 1212, 2652, 25},
    {"Frame1(1)", "frmStep(2)", 1440, 360, 1212, 2652, 26},
    {"Frame1(2)", "frmStep(2)", 2880, 360, 1212, 2652, 27},
    {"Frame1(3)", "frmStep(2)", 4200, 360, 1212, 2652, 28},
    {"Label1(2)", "Frame1(0)", 120, 360, 972, 852, 29},
    {"Label1(6)", "Frame1(0)", 120, 1320, 492, 252, 33},
    {"txtWidth", "Frame1(0)", 120, 1560, 972, 288, 36},
    {"Label1(7)", "Frame1(0)", 120, 2040, 492, 252, 34},
    {"txtHeight", "Frame1(0)", 120, 2280, 972, 288, 35},
    {"Label1(3)", "Frame1(1)", 120, 360, 972, 972, 30},
    {"Label1(8)", "Frame1(1)", 120, 2040, 612, 252, 37},
    {"txtColumns", "Frame1(1)", 120, 2280, 972, 288, 38},
    {"Label1(4)", "Frame1(2)", 120, 360, 972, 612, 31},
    {"Check1", "Frame1(2)", 120, 1560, 972, 252, 39},
    {"Label1(9)", "Frame1(2)", 120, 2040, 732, 252, 40},
    {"txtThickness", "Frame1(2)", 120, 2280, 972, 288, 41},
    {"Label1(5)", "Frame1(3)", 120, 360, 972, 1092, 32},
    {"cmdColor(0)", "Frame1(3)", 120, 1560, 492, 252, 43},
    {"cmdColor(1)", "Frame1(3)", 600, 1560, 492, 252, 44},
    {"lblColor", "Frame1(3)", 120, 1920, 972, 612, 42},
    // Step 4
    {"Label1(10)", "frmStep(3)", 240, 240, 5052, 252, 45},
    {"Label1(11)", "frmStep(3)", 240, 480, 5052, 252, 46},
    {"Label1(12)", "frmStep(3)", 240, 720, 5052, 252, 47},
    {"Label1(13)", "frmStep(3)", 240, 960, 5052, 252, 48},
    {"Frame2", "frmStep(3)", 240, 1800, 1332, 852, 50},
    {"txtFileName", "frmStep(3)", 240, 2760, 5052, 288, 49},
    {"optExtension(0)", "Frame2", 120, 240, 1092, 252, 51},
    {"optExtension(1)", "Frame2", 120, 480, 1092, 252, 52},
    {"Frame3", "frmStep(3)", 1680, 1800, 3612, 900, 63},
    {"Check2", "Frame3", 120, 204, 3372, 228, 64},
    {"Check3", "Frame3", 360, 432, 3132, 228, 68},
    {"Check4", "Frame3", 600, 660, 2892, 228, 69},
    {"Label1(22)", "frmStep(3)", 240, 1392, 612, 252, 70},
    {"txtTitle", "frmStep(3)", 876, 1344, 4416, 288, 71},
    // Completion
    {"Label1(21)", "frmStep(4)", 120, 600, 5292, 192, 55},
    {"lblFileName", "frmStep(4)", 120, 1200, 5292, 372, 56},
    {"Label1(15)", "frmStep(4)", 120, 2160, 5292, 192, 54},
    {"Label1(16)", "frmStep(4)", 120, 2520, 5292, 192, 53},
    {"lblFolder", "frmStep(4)", 120, 1584, 5292, 192, 65},
    {"cmdOpen", "frmStep(4)", 2160, 1812, 1212, 252, 66},
    {"lstProblems", "frmStep(4)", 120, 2748, 5292, 348, 67},
    // About
    {"Image1", "frmStep(5)", 170, 360, 5184, 876, -1},
    {"Label1(14)", "frmStep(5)", 120, 1320, 5292, 252, 59},
    {"Label1(19)", "frmStep(5)", 120, 1920, 5292, 252, 61},
    {"Label1(20)", "frmStep(5)", 120, 2160, 5292, 252, 62},
    {"cmdOk", "frmStep(5)", 4560, 2760, 732, 252, 58},
};

// The zoom for the span of one test; the designed size again afterwards.
class ZoomScope
{
public:
    explicit ZoomScope(double factor) { setZoom(factor); }
    ~ZoomScope() { setZoom(1.0); }
    ZoomScope(const ZoomScope&) = delete;
    ZoomScope& operator=(const ZoomScope&) = delete;
};

// The desktop's palette for the span of one test.
class DesktopPalette
{
public:
    DesktopPalette() : m_saved(QApplication::palette()) {}
    ~DesktopPalette() { QApplication::setPalette(m_saved); }
    DesktopPalette(const DesktopPalette&) = delete;
    DesktopPalette& operator=(const DesktopPalette&) = delete;

private:
    QPalette m_saved;
};

// A dark colour scheme as dark desktops set it: light text on near-black.
QPalette darkDesktop()
{
    QPalette dark(QColor(Qt::white), QColor(48, 48, 48), QColor(72, 72, 72), QColor(24, 24, 24),
                  QColor(40, 40, 40), QColor(Qt::white), QColor(30, 30, 30));
    dark.setColor(QPalette::Button, QColor(53, 53, 53));
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    dark.setColor(QPalette::ToolTipBase, QColor(30, 30, 30));
    dark.setColor(QPalette::ToolTipText, Qt::white);
    return dark;
}

// Contrast of two colours as the web's accessibility guidelines measure it, 1 to 21.
double relativeLuminance(const QColor& colour)
{
    const auto channel = [](int value) {
        const double v = value / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green()) +
           0.0722 * channel(colour.blue());
}
double contrast(const QColor& a, const QColor& b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour a widget's background shows: its own when it fills it, else the nearest
// container's that does.
QColor groundOf(const QWidget* widget, QPalette::ColorGroup group)
{
    for (const QWidget* at = widget; at != nullptr; at = at->parentWidget()) {
        if (at->autoFillBackground() || at->isWindow())
            return at->palette().color(group, at->backgroundRole());
    }
    return {};
}

struct TextOnGround
{
    QString what;
    QColor text;
    QColor ground;
};

// Every text the window draws, with its colour and the colour under it. Disabled controls are
// left out: they are greyed on purpose.
QList<TextOnGround> textsOf(const QWidget* root, QPalette::ColorGroup group)
{
    QList<TextOnGround> texts;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(const_cast<QWidget*>(root));
    for (QWidget* w : widgets) {
        if (!w->isEnabled())
            continue;
        const QPalette& p = w->palette();
        const QString name = w->objectName();
        auto* label = qobject_cast<QLabel*>(w);
        if (auto* frame = qobject_cast<CaptionedFrame*>(w)) {
            texts.append({name, frame->captionColor(), groundOf(frame, group)});
        } else if (qobject_cast<QPushButton*>(w) != nullptr) {
            texts.append(
                {name, p.color(group, QPalette::ButtonText), p.color(group, QPalette::Button)});
        } else if (qobject_cast<QGroupBox*>(w) != nullptr ||
                   qobject_cast<QAbstractButton*>(w) != nullptr ||
                   (label != nullptr && label->pixmap().isNull())) {
            // Group captions, check boxes, option buttons and labels: drawn on the ground.
            texts.append({name, p.color(group, QPalette::WindowText), groundOf(w, group)});
        } else if (qobject_cast<QLineEdit*>(w) != nullptr ||
                   qobject_cast<QAbstractItemView*>(w) != nullptr ||
                   qobject_cast<QComboBox*>(w) != nullptr) {
            texts.append({name, p.color(group, QPalette::Text), p.color(group, QPalette::Base)});
            texts.append({name + u" (selected)"_s, p.color(group, QPalette::HighlightedText),
                          p.color(group, QPalette::Highlight)});
        }
    }
    return texts;
}

} // namespace

class TestLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // One window serves every table that reads the window as built.
    void initTestCase();
    void cleanupTestCase();

    void windowSize();
    void placesAndTabIndexes_data();
    void placesAndTabIndexes();
    void placesOnTheGridInsideTheirContainer();
    void captions_data();
    void captions();
    void focusFollowsTabIndexes();
    void accessKeysAreUnique();
    void accessibleNames_data();
    void accessibleNames();
    void captionsHaveTheirColours_data();
    void captionsHaveTheirColours();

    void zoomFollowsTheUserFont_data();
    void zoomFollowsTheUserFont();
    void zoomScalesEveryPlaceAndFont_data();
    void zoomScalesEveryPlaceAndFont();
    void textsFitTheirControls_data();
    void textsFitTheirControls();
    void picturesShowTheirArtwork_data();
    void picturesShowTheirArtwork();
    void textsStandOutFromTheirGround_data();
    void textsStandOutFromTheirGround();
    void warningBoxIsWideEnoughForItsTitle();
    void progressWindowFitsAndHoldsNothingBack();

private:
    std::unique_ptr<WizardDriver> m_window;
};

void TestLayout::initTestCase()
{
    m_window = std::make_unique<WizardDriver>();
}

void TestLayout::cleanupTestCase()
{
    m_window.reset();
}

void TestLayout::windowSize()
{
    const formVG& form = m_window->form;
    QCOMPARE(form.size(), QSize(482, 373));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(px(5784), 482);
    QCOMPARE(px(170), 14);
    QCOMPARE(form.font().pixelSize(), 11);
}

void TestLayout::placesAndTabIndexes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<int>("tabIndex");
    for (const Place& p : kPlaces) {
        QTest::newRow(p.name) << QString::fromLatin1(p.name) << QString::fromLatin1(p.parent)
                              << QRect(p.left, p.top, p.width, p.height) << p.tabIndex;
    }
}

void TestLayout::placesAndTabIndexes()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, twips);
    QFETCH(int, tabIndex);

    const formVG& form = m_window->form;
    const QList<QWidget*> found = form.findChildren<QWidget*>(name);
    QCOMPARE(found.size(), 1); // names are unique on the window
    QWidget* widget = found.first();
    QCOMPARE(widget->parentWidget(), control(form, parent));
    QCOMPARE(widget->geometry(),
             QRect(twips.x() / 12, twips.y() / 12, twips.width() / 12, twips.height() / 12));
    if (tabIndex >= 0)
        QCOMPARE(widget->property(kTabIndexProperty).toInt(), tabIndex);
}

void TestLayout::placesOnTheGridInsideTheirContainer()
{
    // Stacked on purpose: the panels in one rectangle, Restart on Finish.
    const auto stacked = [](const Place& a, const Place& b) {
        const QString x = QString::fromLatin1(a.name);
        const QString y = QString::fromLatin1(b.name);
        const QStringList restartOnFinish{u"cmdButtons(3)"_s, u"cmdButtons(4)"_s};
        return (x.startsWith(u"frmStep") && y.startsWith(u"frmStep")) ||
               (x != y && restartOnFinish.contains(x) && restartOnFinish.contains(y));
    };
    QStringList wrong;
    for (const Place& p : kPlaces) {
        const QRect rect(p.left, p.top, p.width, p.height);
        // The banner is centred on its panel, off the grid.
        if (qstrcmp(p.name, "Image1") != 0 &&
            (p.left % 12 != 0 || p.top % 12 != 0 || p.width % 12 != 0 || p.height % 12 != 0))
            wrong.append(QString::fromLatin1(p.name) + u" is off the grid"_s);
        QSize container(5784, 4476);
        for (const Place& q : kPlaces) {
            if (qstrcmp(q.name, p.parent) == 0)
                container = QSize(q.width, q.height);
        }
        if (!QRect(QPoint(0, 0), container).contains(rect))
            wrong.append(QString::fromLatin1(p.name) + u" leaves its container"_s);
        // Neighbours may share their edge pixel, as the designed layout has them do.
        for (const Place& q : kPlaces) {
            const QRect both = rect.intersected(QRect(q.left, q.top, q.width, q.height));
            if (&q < &p && qstrcmp(q.parent, p.parent) == 0 && !stacked(p, q) &&
                both.width() > 12 && both.height() > 12)
                wrong.append(QString::fromLatin1(p.name) + u" overlaps "_s +
                             QString::fromLatin1(q.name));
        }
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u"; "_s)));
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
    row("Frame3", "Thumbnails");
    row("Check2", "&Make thumbnail files");
    row("Check3", "Picture &pages with Previous and Next");
    row("Check4", "Link the &original files");
    row("Label1(22)", "T&itle");
    row("Label1(21)", "File has been written as");
    row("lblFileName", "");
    row("lblFolder", "");
    row("cmdOpen", "O&pen Page");
    row("Label1(15)", "Thank you for using Vignetta.");
    row("Label1(16)", "Select the Restart button to create another ThumbNail page.");
    row("Label1(14)", "version 1.0");
    row("cmdOk", "&Ok");
}

void TestLayout::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QWidget* widget = control(m_window->form, name);
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
    QList<QWidget*> chain;
    QWidget* start = m_window->button(formVG::kExit);
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
                          "optExtension(0)", "optExtension(1)", "cmdOk",         "Check2",
                          "cmdOpen",         "lstProblems",     "Check3",        "Check4",
                          "txtTitle"}));
}

void TestLayout::accessKeysAreUnique()
{
    // Among the controls that show together: the wizard's buttons and one panel's.
    QMap<QChar, QString> all;
    for (int panel = 0; panel < formVG::kPanelCount; ++panel) {
        QMap<QChar, QString> keys;
        const QList<QAbstractButton*> buttons = m_window->form.findChildren<QAbstractButton*>();
        for (QAbstractButton* button : buttons) {
            const QString text = button->text();
            const qsizetype amp = text.indexOf(u'&');
            if (amp < 0 || amp + 1 >= text.size())
                continue;
            const QWidget* onPanel = button;
            while (onPanel != nullptr && !onPanel->objectName().startsWith(u"frmStep("))
                onPanel = onPanel->parentWidget();
            if (onPanel != nullptr && onPanel->objectName() != memberName(u"frmStep", panel))
                continue;
            const QChar key = text.at(amp + 1).toUpper();
            QVERIFY2(!keys.contains(key),
                     qPrintable(key + QStringLiteral(" on ") + keys.value(key) + u" and " +
                                button->objectName()));
            keys.insert(key, button->objectName());
            all.insert(key, button->objectName());
        }
    }
    QString letters;
    for (const QChar key : all.keys())
        letters.append(key);
    QCOMPARE(letters, QStringLiteral("ABEFMNOPRT"));
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
    row("Check1", "Border");
    row("optExtension(1)", "htm");
    row("Image2", "Vignetta");
    // Each frame by its own caption, not by the panel around it.
    row("frmStep(2)", "Step 3: ThumbNail Appearance");
    row("Frame1(0)", "Width/Height");
    row("Frame1(1)", "Columns");
    row("Frame1(2)", "Border");
    row("Frame1(3)", "Background");
    row("Frame2", "Extension");
    row("Frame3", "Thumbnails");
    row("Check2", "Make thumbnail files");
    row("Check3", "Picture pages with Previous and Next");
    row("Check4", "Link the original files");
    row("cmdOpen", "Open Page");
    // The colour buttons by what they change.
    row("cmdColor(0)", "Text colour");
    row("cmdColor(1)", "Background colour");
}

void TestLayout::accessibleNames()
{
    QFETCH(QString, name);
    QFETCH(QString, accessible);
    QWidget* widget = control(m_window->form, name);
    QVERIFY(widget);
    QCOMPARE(accessibleText(widget), accessible);
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
    QTest::newRow("Frame3") << "Frame3" << darkRed;
    QTest::newRow("lblFolder") << "lblFolder" << black;
}

void TestLayout::captionsHaveTheirColours()
{
    QFETCH(QString, name);
    QFETCH(QColor, colour);
    QWidget* widget = control(m_window->form, name);
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

void TestLayout::zoomFollowsTheUserFont_data()
{
    QTest::addColumn<QFont>("font");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<double>("zoom");
    const auto points = [](double size) {
        QFont font(u"DejaVu Sans"_s);
        font.setPointSizeF(size);
        return font;
    };
    const auto pixels = [](int size) {
        QFont font(u"DejaVu Sans"_s);
        font.setPixelSize(size);
        return font;
    };
    const QSize roomy(3840, 2160);
    QTest::newRow("toolkit default, 9 pt") << points(9) << roomy << 1.0;
    QTest::newRow("GNOME, 11 pt") << points(11) << roomy << 11.0 / 9;
    QTest::newRow("low vision, 14 pt") << points(14) << roomy << 14.0 / 9;
    QTest::newRow("in pixels, 18 px") << pixels(18) << roomy << 1.5;
    QTest::newRow("smaller than designed") << points(7) << roomy << 1.0;
    // A window larger than the screen could not be used: the screen sets the limit.
    QTest::newRow("as wide as a small screen")
        << points(24) << QSize(1024, 768) << 720.0 / 4476 * 12;
}

void TestLayout::zoomFollowsTheUserFont()
{
    QFETCH(QFont, font);
    QFETCH(QSize, screen);
    QFETCH(double, zoom);
    QVERIFY(QGuiApplication::primaryScreen()->logicalDotsPerInchY() == 96);
    QVERIFY2(std::abs(zoomForFont(font, screen) - zoom) < 1e-6,
             qPrintable(QString::number(zoomForFont(font, screen))));
}

void TestLayout::zoomScalesEveryPlaceAndFont_data()
{
    QTest::addColumn<double>("zoom");
    QTest::newRow("1.25") << 1.25;
    QTest::newRow("14 pt") << 14.0 / 9;
    QTest::newRow("2") << 2.0;
}

void TestLayout::zoomScalesEveryPlaceAndFont()
{
    QFETCH(double, zoom);
    const ZoomScope scope(zoom);
    WizardDriver w;
    const auto scaled = [zoom](int twips) {
        return static_cast<int>(std::floor(twips * zoom / 12 + 0.5));
    };
    QCOMPARE(w.form.size(), QSize(scaled(5784), scaled(4476)));
    for (const Place& p : kPlaces) {
        QWidget* widget = control(w.form, QString::fromLatin1(p.name));
        QVERIFY2(widget, p.name);
        QCOMPARE(widget->geometry(),
                 QRect(scaled(p.left), scaled(p.top), scaled(p.width), scaled(p.height)));
    }
    // The fonts grow with the places: never beyond the zoom, and by at least the zoom less
    // one pixel's rounding.
    const struct
    {
        const char* name;
        int designPixels;
    } fonts[] = {{"formVG", 11}, {"lblColor", 10}, {"lblFileName", 20}, {"Label1(19)", 17}};
    for (const auto& f : fonts) {
        const int size = control(w.form, QString::fromLatin1(f.name))->font().pixelSize();
        QVERIFY2(size <= f.designPixels * zoom && size > f.designPixels * zoom - 1, f.name);
    }
}

void TestLayout::textsFitTheirControls_data()
{
    QTest::addColumn<double>("zoom");
    for (const double zoom : {1.0, 1.25, 1.5, 2.0})
        QTest::addRow("zoom %g", zoom) << zoom;
}

void TestLayout::textsFitTheirControls()
{
    QFETCH(double, zoom);
    const ZoomScope scope(zoom);
    WizardDriver w;
    w.label(u"lblFileName"_s)->setText(QStringLiteral("Vignetta.html"));
    // The completion panel at its fullest: a folder too long for it, and the longest note.
    auto* completion = w.form.findChild<CompletionPanel*>();
    completion->setFolder(u"/home/"_s + QString(300, u'W') + u"/Pictures"_s);
    completion->setNotes(
        u"12 of the 40 photos this page links record where they were taken (GPS)."_s,
        QStringList(32767, u"x.jpg: not an image"_s));
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

void TestLayout::picturesShowTheirArtwork_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<double>("pixelRatio");
    QTest::newRow("designed") << 1.0 << 1.0;
    QTest::newRow("screen at 1.5") << 1.0 << 1.5;
    QTest::newRow("screen at 2") << 1.0 << 2.0;
    QTest::newRow("zoom 1.5") << 1.5 << 1.0;
    QTest::newRow("zoom 1.25, screen at 2") << 1.25 << 2.0;
}

void TestLayout::picturesShowTheirArtwork()
{
    QFETCH(double, zoom);
    QFETCH(double, pixelRatio);
    const ZoomScope scope(zoom);
    WizardDriver w;
    const struct
    {
        const char* name;
        QSize size;
    } pictures[] = {{"Image3", {45, 45}}, {"Image2", {205, 41}}, {"Image1", {428, 69}}};
    for (const auto& p : pictures) {
        auto* picture = w.form.findChild<Picture*>(QString::fromLatin1(p.name));
        QVERIFY(picture);
        // The picture plus its border fills the box exactly.
        const QPixmap shown = picture->artwork(pixelRatio);
        const int border = picture->frameWidth();
        QCOMPARE(picture->size(),
                 shown.deviceIndependentSize().toSize() + QSize(2 * border, 2 * border));
        const QSize devicePixels = shown.size();
        QVERIFY2(std::abs(devicePixels.width() - p.size.width() * zoom * pixelRatio) <= 6, p.name);
        if (zoom == 1.0 && pixelRatio == 1.0) {
            // At the designed size the artwork shows pixel for pixel.
            QCOMPARE(devicePixels, p.size);
            QCOMPARE(picture->pixmap().size(), p.size);
        }
        // Drawn, not blown up: a drawing at least as fine as the screen's pixels was used, so
        // the picture holds as many distinct colours as its pixels allow.
        const QImage image = shown.toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        QVERIFY2(colours.size() > 8, p.name);
    }
    QVERIFY(!w.form.windowIcon().isNull());
    QVERIFY(w.form.windowIcon().availableSizes().contains(QSize(256, 256)));
}

void TestLayout::textsStandOutFromTheirGround_data()
{
    QTest::addColumn<QPalette>("desktop");
    QTest::addColumn<bool>("changedWhileRunning");
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(u"Fusion"_s));
    const QPalette light = fusion->standardPalette();
    QTest::newRow("light desktop") << light << false;
    QTest::newRow("dark desktop") << darkDesktop() << false;
    QTest::newRow("turned dark while running") << darkDesktop() << true;
}

void TestLayout::textsStandOutFromTheirGround()
{
    QFETCH(QPalette, desktop);
    QFETCH(bool, changedWhileRunning);
    const DesktopPalette saved;
    if (!changedWhileRunning)
        QApplication::setPalette(desktop);
    WizardDriver w;
    w.label(u"lblFileName"_s)->setText(QStringLiteral("Vignetta.html"));
    w.click(formVG::kTutor);
    FormTutor* tutor = tutorWindow();
    QVERIFY(tutor);
    if (changedWhileRunning)
        QApplication::setPalette(desktop);

    QStringList poor;
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        QList<TextOnGround> texts = textsOf(&w.form, group);
        texts.append(textsOf(tutor, group));
        QVERIFY(texts.size() > 60);
        for (const TextOnGround& t : texts) {
            const double ratio = contrast(t.text, t.ground);
            if (ratio < 4.5)
                poor.append(t.what + u' ' + t.text.name() + u" on " + t.ground.name() + u' ' +
                            QString::number(ratio, 'f', 2));
        }
    }
    QVERIFY2(poor.isEmpty(), qPrintable(poor.join(QStringLiteral("; "))));
    // The designed colours on their designed ground, whatever the desktop.
    QCOMPARE(w.label(memberName(u"Label1", 0))->palette().color(QPalette::WindowText),
             QColor(0, 0, 255));
    QCOMPARE(groundOf(w.label(memberName(u"Label1", 0)), QPalette::Active), QColor(239, 239, 239));
    QCOMPARE(groundOf(tutor->lblTutor(), QPalette::Active), QColor(255, 255, 192));
    QCOMPARE(groundOf(w.label(memberName(u"Label1", 14)), QPalette::Active), QColor(192, 192, 192));
    w.click(formVG::kTutor);
}

void TestLayout::warningBoxIsWideEnoughForItsTitle()
{
    // The shortest warning under the usual title: the box would be narrower than its title bar
    // needs, and window managers would cut the title short.
    const MessageRequest request{.title = u"Cannot proceed to Next Step"_s,
                                 .text = u"No image files are selected"_s};
    const std::unique_ptr<QMessageBox> box = makeMessageBox(&m_window->form, request);
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    const int title = QFontMetrics(QApplication::font()).horizontalAdvance(request.title);
    // Besides the title: the window's icon and three title-bar buttons.
    QVERIFY2(box->width() >= title + 120, qPrintable(QString::number(box->width())));
    QCOMPARE(box->windowTitle(), request.title);
    box->close();
}

void TestLayout::progressWindowFitsAndHoldsNothingBack()
{
    // Its whole title shows, its bar has a name, it keeps one size, and it does not block the
    // wizard, whose Exit and close button must end the work.
    QtPrompts prompts;
    const QString title = u"Making thumbnail files"_s;
    bool cancelled = false;
    std::unique_ptr<ProgressPrompt> progress = prompts.showProgress(
        &m_window->form,
        {.title = title, .text = u"Looking..."_s, .onCancel = [&cancelled] { cancelled = true; }});
    progress->setProgress(1, 600, u"1 of 600 thumbnails made\nWorking out the time left..."_s);
    QProgressDialog* dialog = nullptr;
    QTRY_VERIFY((dialog = m_window->form.findChild<QProgressDialog*>()) != nullptr &&
                dialog->isVisible());
    const int titleWidth = QFontMetrics(QApplication::font()).horizontalAdvance(title);
    QVERIFY2(dialog->width() >= titleWidth + 120, qPrintable(QString::number(dialog->width())));
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    QVERIFY(!(dialog->windowFlags() & Qt::WindowMaximizeButtonHint));
    auto* bar = dialog->findChild<QProgressBar*>();
    QCOMPARE(QAccessible::queryAccessibleInterface(bar)->text(QAccessible::Name), title);
    QCOMPARE(QGuiApplication::modalWindow(), nullptr);
    QVERIFY(!cancelled);
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
