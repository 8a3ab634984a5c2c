// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/listing_worker.h"

#include "core/background.h"

#include <QObject>

#include <atomic>
#include <chrono>
#include <mutex>
#include <system_error>
#include <thread>

namespace vignetta {

namespace {

// How often a long read says how far it got.
constexpr std::chrono::milliseconds kProgressInterval{100};

} // namespace

struct ListingWorker::Read
{
    std::atomic<bool> cancelled = false;
};

// Lets a reading thread hand its result to the worker, for as long as the worker exists. The
// thread holds the relay, never the worker: a read of a file system that does not answer may
// outlive the worker, and the program too.
struct ListingWorker::Relay : std::enable_shared_from_this<ListingWorker::Relay>
{
    std::mutex mutex;
    ListingWorker* worker = nullptr;
    QObject* context = nullptr;

    template <class F>
    void post(F call)
    {
        const std::lock_guard lock(mutex);
        // Posted while the worker cannot be destroyed; should it go before the call is
        // delivered, the call finds it gone.
        if (worker == nullptr)
            return;
        QMetaObject::invokeMethod(
            context,
            [relay = shared_from_this(), call = std::move(call)]() mutable {
                // On the context's thread, where the worker is destroyed too.
                if (relay->worker != nullptr)
                    call(*relay->worker);
            },
            Qt::QueuedConnection);
    }
};

ListingWorker::ListingWorker(QObject* context, Finished finished, Progress progress)
    : m_finished(std::move(finished)), m_progress(std::move(progress)),
      m_relay(std::make_shared<Relay>())
{
    m_relay->worker = this;
    m_relay->context = context;
}

ListingWorker::~ListingWorker()
{
    cancel();
    const std::lock_guard lock(m_relay->mutex);
    m_relay->worker = nullptr;
}

void ListingWorker::start(const QByteArray& nativePath, const QString& pattern)
{
    cancel();
    auto read = std::make_shared<Read>();
    m_current = read;
    // A system call on a file system that does not answer cannot be cancelled, and a thread
    // blocked in one cannot be joined: so the read runs on a detached thread that holds only
    // its own copies and the relay, and is merely told to stop.
    auto body = [relay = m_relay, read, nativePath, pattern, hook = m_hook] {
        const FilePattern filePattern(pattern);
        auto lastReport = std::chrono::steady_clock::now();
        ScanControl control;
        control.cancelled = [&read] { return read->cancelled.load(std::memory_order_relaxed); };
        control.progress = [&](std::size_t entries) {
            if (hook)
                hook(nativePath, entries);
            const auto now = std::chrono::steady_clock::now();
            if (now - lastReport >= kProgressInterval) {
                lastReport = now;
                relay->post([read, entries](ListingWorker& w) { w.report(read, entries); });
            }
        };
        ScanResult result = scanDirectory(nativePath, filePattern, control);
        if (read->cancelled.load())
            return;
        relay->post([read, result = std::move(result)](ListingWorker& w) mutable {
            w.deliver(read, std::move(result));
        });
    };
    // No thread to be had: read here; the result still comes through the event loop.
    if (!startDetached(body))
        body();
}

void ListingWorker::cancel()
{
    if (m_current)
        m_current->cancelled.store(true);
    m_current.reset();
}

void ListingWorker::deliver(const std::shared_ptr<Read>& read, ScanResult result)
{
    if (read != m_current)
        return; // a read cancelled after it had finished
    m_current.reset();
    if (m_finished)
        m_finished(std::move(result));
}

void ListingWorker::report(const std::shared_ptr<Read>& read, std::size_t entriesRead)
{
    if (read == m_current && m_progress)
        m_progress(entriesRead);
}

} // namespace vignetta
