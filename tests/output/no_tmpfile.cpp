// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Preloaded (LD_PRELOAD) into a test run to stand for a file system like vfat, exFAT or CIFS:
// every open with O_TMPFILE fails with EOPNOTSUPP, and so does fallocate, as they do there.
// Everything else goes on to the C library.

#include <cerrno>
#include <cstdarg>
#include <dlfcn.h>
#include <fcntl.h>

namespace {

using OpenAt = int (*)(int, const char*, int, ...);

bool asksForTmpfile(int flags)
{
    return (flags & O_TMPFILE) == O_TMPFILE;
}

bool takesMode(int flags)
{
    return (flags & O_CREAT) != 0 || asksForTmpfile(flags);
}

int forward(const char* symbol, int dir, const char* path, int flags, mode_t mode)
{
    if (asksForTmpfile(flags)) {
        errno = EOPNOTSUPP;
        return -1;
    }
    auto* next = reinterpret_cast<OpenAt>(dlsym(RTLD_NEXT, symbol));
    if (next == nullptr) {
        errno = ENOSYS;
        return -1;
    }
    return next(dir, path, flags, mode);
}

} // namespace

extern "C" {

// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name): reserved names there
int open(const char* path, int flags, ...)
{
    mode_t mode = 0;
    if (takesMode(flags)) { // the mode is an argument only when the flags ask for one
        va_list args;
        va_start(args, flags);
        mode = va_arg(args, mode_t);
        va_end(args);
    }
    return forward("openat", AT_FDCWD, path, flags, mode);
}

// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name): reserved names there
int open64(const char* path, int flags, ...)
{
    mode_t mode = 0;
    if (takesMode(flags)) { // the mode is an argument only when the flags ask for one
        va_list args;
        va_start(args, flags);
        mode = va_arg(args, mode_t);
        va_end(args);
    }
    return forward("openat64", AT_FDCWD, path, flags, mode);
}

// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name): reserved names there
int openat(int dir, const char* path, int flags, ...)
{
    mode_t mode = 0;
    if (takesMode(flags)) { // the mode is an argument only when the flags ask for one
        va_list args;
        va_start(args, flags);
        mode = va_arg(args, mode_t);
        va_end(args);
    }
    return forward("openat", dir, path, flags, mode);
}

// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name): reserved names there
int openat64(int dir, const char* path, int flags, ...)
{
    mode_t mode = 0;
    if (takesMode(flags)) { // the mode is an argument only when the flags ask for one
        va_list args;
        va_start(args, flags);
        mode = va_arg(args, mode_t);
        va_end(args);
    }
    return forward("openat64", dir, path, flags, mode);
}

int fallocate(int /*fd*/, int /*mode*/, off_t /*offset*/, off_t /*length*/)
{
    errno = EOPNOTSUPP;
    return -1;
}

int fallocate64(int /*fd*/, int /*mode*/, off64_t /*offset*/, off64_t /*length*/)
{
    errno = EOPNOTSUPP;
    return -1;
}

} // extern "C"
