#include "wizard/completion_panel.h"

#include "ui/ui_kit.h"

#include <QLabel>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

CompletionPanel::CompletionPanel(QWidget* parent) : QGroupBox(u"Page Creation Complete"_s, parent)
{
    makeLabel(this, memberName(u"Label1", 21), u"File has been written as"_s,
              twipsRect(120, 600, 5292, 192), 55);
    m_lblFileName =
        makeLabel(this, u"lblFileName"_s, QString(), twipsRect(120, 1200, 5292, 372), 56,
                  {.color = kDarkRed, .alignment = Qt::AlignHCenter | Qt::AlignTop});
    // 12 points at the layout's 120 dots per inch.
    QFont font;
    font.setFamilies({u"MS Sans Serif"_s, u"DejaVu Sans"_s, u"Sans Serif"_s});
    font.setPixelSize(fontPx(20));
    m_lblFileName->setFont(font);
    makeLabel(this, memberName(u"Label1", 15), u"Thank you for using Vignetta."_s,
              twipsRect(120, 2160, 5292, 192), 54);
    makeLabel(this, memberName(u"Label1", 16),
              u"Select the Restart button to create another ThumbNail page."_s,
              twipsRect(120, 2520, 5292, 192), 53);
}

void CompletionPanel::setFileName(const QString& fileName)
{
    m_lblFileName->setText(fileName);
}

} // namespace vignetta
