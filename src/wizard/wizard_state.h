#pragma once

#include <QString>
#include <QStringList>

namespace vignetta {

// Positions of the wizard; each is also the index of its panel in formVG's frmStep.
enum WizardPosition : int
{
    kStep1 = 0,
    kStep2 = 1,
    kStep3 = 2,
    kStep4 = 3,
    kCompletion = 4,
    kAboutPanel = 5, // shown over any position without changing iStep
};

// Everything the wizard remembers during one run. Each step's collector fills its own fields
// when the step is left forward; the page writer only reads them.
struct WizardState
{
    int iStep = kStep1;
    bool bTutorOn = false;

    QString sImagePath;      // Step 1's directory with one separator appended
    QStringList sImageFiles; // chosen names in list order, then one empty element
    QString sWidth;
    QString sHeight;
    QString sColumns;
    bool bBorder = false;
    QString sThickness;
    QString sForeColor;
    QString sBackColor;
    QString sFileName; // page file name with extension, no directory

    // The number of chosen names: sImageFiles' upper bound, its last element being empty.
    [[nodiscard]] qsizetype imageCount() const
    {
        return sImageFiles.isEmpty() ? 0 : sImageFiles.size() - 1;
    }
};

} // namespace vignetta
