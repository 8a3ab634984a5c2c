// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "selection/dir_scan.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class QObject;

namespace vignetta {

// Reads directories on threads of their own, so that neither a huge directory nor a slow file
// system holds up the window. One read counts at a time: starting a read cancels the one
// before it, whose result is never delivered. What a read found, and how far a long one has
// got, comes back on the thread of the context object, through its event loop.
class ListingWorker
{
public:
    using Finished = std::function<void(ScanResult result)>;
    using Progress = std::function<void(std::size_t entriesRead)>;
    // Called on the reading thread once the directory is open and after each batch of entries;
    // tests slow a read down with it.
    using Hook = std::function<void(const QByteArray& nativePath, std::size_t entriesRead)>;

    // Results go to `finished` and `progress`, called on the thread of `context`, which must
    // outlive the worker.
    ListingWorker(QObject* context, Finished finished, Progress progress);
    ~ListingWorker();
    ListingWorker(const ListingWorker&) = delete;
    ListingWorker& operator=(const ListingWorker&) = delete;
    ListingWorker(ListingWorker&&) = delete;
    ListingWorker& operator=(ListingWorker&&) = delete;

    // Starts reading the directory, keeping the files that match `pattern`.
    void start(const QByteArray& nativePath, const QString& pattern);
    // Cancels the read in progress, if any.
    void cancel();
    // Whether a read was started and its result has not been delivered yet.
    [[nodiscard]] bool busy() const { return m_current != nullptr; }
    void setHook(Hook hook) { m_hook = std::move(hook); }

private:
    struct Read;
    struct Relay;

    void deliver(const std::shared_ptr<Read>& read, ScanResult result);
    void report(const std::shared_ptr<Read>& read, std::size_t entriesRead);

    Finished m_finished;
    Progress m_progress;
    Hook m_hook;
    std::shared_ptr<Relay> m_relay;
    std::shared_ptr<Read> m_current;
};

} // namespace vignetta
