// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/file_names.h"

#include <QString>

#include <utility>

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

// What each step's collector hands the navigation when the step is left forward.
struct Step1Values
{
    QString sImagePath; // the directory with one separator appended
};

struct Step2Values
{
    NameList sImageFiles; // chosen names in list order, then one empty element
};

struct Step3Values
{
    QString sWidth; // each text without its surrounding blanks
    QString sHeight;
    QString sColumns;
    bool bBorder = false;
    QString sThickness; // "0" without a border
    QString sForeColor; // HTML colour texts
    QString sBackColor;
};

struct Step4Values
{
    QString sFileName;           // page file name with extension, no directory
    bool bThumbnails = false;    // thumbnail files beside the page
    bool bPicturePages = false;  // with them, a page for each picture, with Previous and Next
    bool bLinkOriginals = false; // and there, a link to the original file
    QString sTitle;              // with thumbnail files: the page's title, trimmed
};

// Everything the wizard remembers during one run. The navigation stores each step's values
// when the step is left forward; the page writer only reads them.
struct WizardState
{
    int iStep = kStep1;
    bool bTutorOn = false;

    QString sImagePath;
    NameList sImageFiles; // as their bytes on disk, with the text shown
    QString sWidth;
    QString sHeight;
    QString sColumns;
    bool bBorder = false;
    QString sThickness;
    QString sForeColor;
    QString sBackColor;
    QString sFileName;
    bool bThumbnails = false;
    bool bPicturePages = false;
    bool bLinkOriginals = false;
    QString sTitle;

    // The number of chosen names: sImageFiles' upper bound, its last element being empty.
    [[nodiscard]] qsizetype imageCount() const
    {
        return sImageFiles.isEmpty() ? 0 : sImageFiles.size() - 1;
    }

    void store(Step1Values values) { sImagePath = std::move(values.sImagePath); }
    void store(Step2Values values) { sImageFiles = std::move(values.sImageFiles); }
    void store(Step3Values values)
    {
        sWidth = std::move(values.sWidth);
        sHeight = std::move(values.sHeight);
        sColumns = std::move(values.sColumns);
        bBorder = values.bBorder;
        sThickness = std::move(values.sThickness);
        sForeColor = std::move(values.sForeColor);
        sBackColor = std::move(values.sBackColor);
    }
    void store(Step4Values values)
    {
        sFileName = std::move(values.sFileName);
        bThumbnails = values.bThumbnails;
        bPicturePages = bThumbnails && values.bPicturePages;
        bLinkOriginals = bPicturePages && values.bLinkOriginals;
        sTitle = bThumbnails ? std::move(values.sTitle) : QString();
    }
};

} // namespace vignetta
