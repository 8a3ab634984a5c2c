// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wizard/about_panel.h"

#include "core/product.h"
#include "ui/picture.h"
#include "ui/ui_kit.h"

#include <QLabel>
#include <QPushButton>
#include <QShortcut>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

AboutPanel::AboutPanel(QWidget* parent) : QGroupBox(u"About Vignetta"_s, parent)
{
    setAutoFillBackground(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(kLightGrey));
    setPalette(grey);

    makePicture(this, u"Image1"_s, u":/vignetta/banner.png"_s, twipsRect(170, 360, 5184, 876),
                PictureBorder::Sunken, u"Vignetta banner"_s);
    makeLabel(this, memberName(u"Label1", 14), QString::fromLatin1(product::kVersionText),
              twipsRect(120, 1320, 5292, 252), 59);

    // 10.2 points at the layout's 120 dots per inch.
    QFont addressFont;
    addressFont.setFamilies({u"Times New Roman"_s, u"Liberation Serif"_s, u"DejaVu Serif"_s});
    addressFont.setPixelSize(fontPx(17));
    addressFont.setBold(true);
    const LabelStyle addressStyle{.color = kBlack};
    makeLabel(this, memberName(u"Label1", 19), QString::fromLatin1(product::kMakerEmail),
              twipsRect(120, 1920, 5292, 252), 61, addressStyle)
        ->setFont(addressFont);
    makeLabel(this, memberName(u"Label1", 20), QString::fromLatin1(product::kHomePage),
              twipsRect(120, 2160, 5292, 252), 62, addressStyle)
        ->setFont(addressFont);

    QPushButton* ok = makeButton(this, u"cmdOk"_s, u"&Ok"_s, twipsRect(4560, 2760, 732, 252), 58);
    connect(ok, &QPushButton::clicked, this, &AboutPanel::okPressed);
    // Escape does what Ok does; the key answers only while the panel is in front.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &AboutPanel::okPressed);
}

} // namespace vignetta
