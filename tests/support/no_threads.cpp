// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Preloaded (LD_PRELOAD) into a test run to stand for a process that can have no more threads
// (its limit reached, or the system's): while VIGNETTA_REFUSE_THREADS is set, every new thread
// is refused with EAGAIN, as pthread_create refuses it then. Otherwise threads start as ever.

#include <cerrno>
#include <cstdlib>
#include <dlfcn.h>
#include <pthread.h>

// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name): the C library's names
extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes,
                              void* (*start)(void*), void* argument)
{
    if (std::getenv("VIGNETTA_REFUSE_THREADS") != nullptr)
        return EAGAIN;
    using Create = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
    auto* next = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "pthread_create"));
    if (next == nullptr)
        return EAGAIN;
    return next(thread, attributes, start, argument);
}
