// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "output/page_saver.h"

#include <QObject>

#include <functional>
#include <thread>

namespace vignetta {

// Saves one page (savePage) on a thread of its own, so that a page of a million images, or a
// slow disk, never holds up the window. The outcome comes back through the event loop of the
// thread that made the job. Where no thread can be had, the page is saved at start() all the
// same, and reported the same way.
//
// A job that goes away while its page is being saved waits for the save to end: a page is
// never left half-way because the window closed.
class PageSaveJob final : public QObject
{
public:
    using Done = std::function<void(const SaveResult& result)>;
    // Called on the saving thread before the page is written; tests slow a save down with it.
    using Hook = std::function<void()>;
    // Work that follows a saved page, on the saving thread, before the outcome is reported:
    // tidying up files the new page no longer needs, which may take a while on a slow disk.
    using AfterSaved = std::function<void()>;

    PageSaveJob(QString directory, QString fileName, PageSource source, Done done,
                QObject* parent = nullptr, AfterSaved afterSaved = {});
    ~PageSaveJob() override;
    PageSaveJob(const PageSaveJob&) = delete;
    PageSaveJob& operator=(const PageSaveJob&) = delete;
    PageSaveJob(PageSaveJob&&) = delete;
    PageSaveJob& operator=(PageSaveJob&&) = delete;

    // `source` must hold its own copy of what the page is made from: it runs on another thread.
    void start(Hook hook = {});

private:
    QString m_directory;
    QString m_fileName;
    PageSource m_source;
    Done m_done;
    AfterSaved m_afterSaved;
    std::thread m_thread;
};

} // namespace vignetta
