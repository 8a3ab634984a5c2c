// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <system_error>
#include <thread>

namespace vignetta {

// Work done away from the window, one way throughout: each piece of work (a folder's listing, a
// drive's probe, a Finish) gets a plain thread of its own, holds its own copies of what it works
// on, and hands its outcome back through the window's event loop (QMetaObject::invokeMethod to
// a receiver that may have gone by then). Not a thread pool, and not QtConcurrent: a call into a
// file system that no longer answers (a network share gone) blocks for good, and a pool waits
// for its threads when the program ends, so such work runs on a thread nobody waits for; while
// a Finish is waited for, so that a page is never left half written.

// Runs `work` on a thread of its own and returns it, to be joined. Where no thread can be had,
// runs `work` here before returning, and the thread returned is empty.
[[nodiscard]] inline std::thread startJoinable(const std::function<void()>& work)
{
    try {
        return std::thread(work);
    } catch (const std::system_error&) {
        work();
        return {};
    }
}

// Runs `work` on a thread of its own that nobody waits for. False where no thread could be had:
// nothing was run, and the caller does what it does without.
[[nodiscard]] inline bool startDetached(const std::function<void()>& work)
{
    try {
        std::thread(work).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

} // namespace vignetta
