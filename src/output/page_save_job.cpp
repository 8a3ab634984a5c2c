// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/page_save_job.h"

#include <system_error>
#include <utility>

namespace vignetta {

PageSaveJob::PageSaveJob(QString directory, QString fileName, PageSource source, Done done,
                         QObject* parent, AfterSaved afterSaved)
    : QObject(parent), m_directory(std::move(directory)), m_fileName(std::move(fileName)),
      m_source(std::move(source)), m_done(std::move(done)), m_afterSaved(std::move(afterSaved))
{}

PageSaveJob::~PageSaveJob()
{
    if (m_thread.joinable())
        m_thread.join();
}

void PageSaveJob::start(Hook hook)
{
    // The report is posted to this job: one that has gone by the time it arrives gets none.
    auto work = [this, hook = std::move(hook)] {
        if (hook)
            hook();
        const SaveResult result = savePage(m_directory, m_fileName, m_source);
        if (result.ok && m_afterSaved)
            m_afterSaved();
        QMetaObject::invokeMethod(
            this, [this, result] { m_done(result); }, Qt::QueuedConnection);
    };
    try {
        m_thread = std::thread(work);
    } catch (const std::system_error&) {
        work();
    }
}

} // namespace vignetta
