// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "support/page_state.h"

#include "core/file_names.h"
#include "thumbnails/publish_job.h"

#include <QSize>

// What one Finish with thumbnail files publishes: the page of `names` in `directory`, its
// thumbnails fitting `box`, in rows of three.
inline vignetta::PublishRequest publishRequest(const QString& directory, const QStringList& names,
                                               QSize box = {150, 150})
{
    vignetta::WizardState state = pageState(names, QStringLiteral("3"));
    state.sWidth = QString::number(box.width());
    state.sHeight = QString::number(box.height());
    state.bThumbnails = true;
    return {state, directory};
}

// The same for names given as their bytes on disk, whatever their encoding.
inline vignetta::PublishRequest publishRequest(const QString& directory,
                                               const QList<QByteArray>& names)
{
    vignetta::PublishRequest request = publishRequest(directory, QStringList());
    QList<QByteArray> all = names;
    all.append(QByteArray());
    vignetta::BigVector<std::uint32_t> positions;
    for (qsizetype i = 0; i < names.size(); ++i)
        positions.push_back(static_cast<std::uint32_t>(i));
    positions.push_back(vignetta::NameList::kEmptyName);
    request.state.sImageFiles =
        vignetta::NameList(vignetta::NamePool::fromBytes(names), std::move(positions));
    return request;
}
