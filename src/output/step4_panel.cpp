// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/step4_panel.h"

#include "core/text_rules.h"
#include "output/page_name.h"
#include "ui/ui_kit.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

// What Step 4 shows at start and after Restart.
constexpr struct
{
    const char16_t* name;
    bool html; // the first extension, else the second
    bool thumbnails;
    bool picturePages;
    bool linkOriginals;
} kDefaults{.name = u"Vignetta",
            .html = true,
            .thumbnails = false,
            .picturePages = false,
            .linkOriginals = false};

} // namespace

Step4Panel::Step4Panel(QWidget* parent) : QGroupBox(u"Step 4: Page Name"_s, parent)
{
    constexpr LabelStyle kInstruction{.color = kBlue, .alignment = Qt::AlignLeft | Qt::AlignTop};
    makeLabel(this, memberName(u"Label1", 10), u"Give the file a name."_s,
              twipsRect(240, 240, 5052, 252), 45, kInstruction);
    makeLabel(this, memberName(u"Label1", 11),
              u"Select either \"HTML\" or \"HTM\" as the extension."_s,
              twipsRect(240, 480, 5052, 252), 46, kInstruction);
    makeLabel(this, memberName(u"Label1", 12), u"Select Finish to write the file."_s,
              twipsRect(240, 720, 5052, 252), 47, kInstruction);
    makeLabel(this, memberName(u"Label1", 13),
              u"The file will be saved in the same directory as the selected image files."_s,
              twipsRect(240, 960, 5052, 252), 48, kInstruction);

    m_frame2 = makeFrame(this, u"Frame2"_s, u"Extension"_s, twipsRect(240, 1800, 1332, 852), 50);
    m_frame2->setCaptionColor(QColor(kDarkRed));
    m_optExtension[0] = makeOptionButton(m_frame2, memberName(u"optExtension", 0), u"html"_s,
                                         twipsRect(120, 240, 1092, 252), 51);
    m_optExtension[1] = makeOptionButton(m_frame2, memberName(u"optExtension", 1), u"htm"_s,
                                         twipsRect(120, 480, 1092, 252), 52);

    // Beside the extensions: whether the page gets thumbnail files of its own, and with them a
    // page for each picture, which may link its original. Each option is there to choose only
    // while the one before it is on.
    m_frame3 = makeFrame(this, u"Frame3"_s, u"Thumbnails"_s, twipsRect(1680, 1800, 3612, 900), 63);
    m_frame3->setCaptionColor(QColor(kDarkRed));
    m_check2 = makeCheckBox(m_frame3, u"Check2"_s, u"&Make thumbnail files"_s,
                            twipsRect(120, 204, 3372, 228), 64);
    m_check3 = makeCheckBox(m_frame3, u"Check3"_s, u"Picture &pages with Previous and Next"_s,
                            twipsRect(360, 432, 3132, 228), 68);
    m_check4 = makeCheckBox(m_frame3, u"Check4"_s, u"Link the &original files"_s,
                            twipsRect(600, 660, 2892, 228), 69);
    connect(m_check2, &QCheckBox::toggled, this, &Step4Panel::enableOptions);
    connect(m_check3, &QCheckBox::toggled, this, &Step4Panel::enableOptions);

    // The title of a page with thumbnail files, its title bar's and its heading.
    m_lblTitle =
        makeLabel(this, memberName(u"Label1", 22), u"T&itle"_s, twipsRect(240, 1392, 612, 252), 70,
                  {.color = kBlue, .alignment = Qt::AlignLeft | Qt::AlignTop});
    m_lblTitle->setTextFormat(Qt::AutoText);
    m_txtTitle = makeTextBox(this, u"txtTitle"_s, QString(), twipsRect(876, 1344, 4416, 288), 71);
    m_txtTitle->setAccessibleName(u"Title"_s);
    m_lblTitle->setBuddy(m_txtTitle);
    connect(m_txtTitle, &QLineEdit::textEdited, this, [this] { m_titleTyped = true; });

    m_txtFileName =
        makeTextBox(this, u"txtFileName"_s, QString(), twipsRect(240, 2760, 5052, 288), 49);
    m_txtFileName->setAccessibleName(u"Page name"_s);
    connect(m_txtFileName, &QLineEdit::returnPressed, this, &Step4Panel::nameEntered);
    setDefaults();
}

void Step4Panel::setDefaults()
{
    m_txtFileName->setText(QString::fromUtf16(kDefaults.name));
    m_optExtension[kDefaults.html ? 0 : 1]->setChecked(true);
    m_check2->setChecked(kDefaults.thumbnails);
    m_check3->setChecked(kDefaults.picturePages);
    m_check4->setChecked(kDefaults.linkOriginals);
    m_txtTitle->clear();
    m_titleTyped = false;
    enableOptions();
}

void Step4Panel::setFolderName(const QString& name)
{
    // A title typed since is the user's.
    if (!m_titleTyped)
        m_txtTitle->setText(name);
}

void Step4Panel::enableOptions()
{
    m_check3->setEnabled(m_check2->isChecked());
    m_check4->setEnabled(m_check3->isEnabled() && m_check3->isChecked());
    m_txtTitle->setEnabled(m_check2->isChecked());
    m_lblTitle->setEnabled(m_check2->isChecked());
}

Step4Values Step4Panel::Get_Step4_Info() const
{
    // Only the first option is looked at: anything but "html" means "htm".
    return {.sFileName = pageFileName(m_txtFileName->text(), m_optExtension[0]->isChecked()),
            .bThumbnails = m_check2->isChecked(),
            .bPicturePages = m_check3->isEnabled() && m_check3->isChecked(),
            .bLinkOriginals = m_check4->isEnabled() && m_check4->isChecked(),
            .sTitle = trimBlanks(m_txtTitle->text())};
}

} // namespace vignetta
