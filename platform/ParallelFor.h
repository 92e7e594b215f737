#pragma once
// Running independent tasks side by side on a bounded set of threads, joined before return.

// std
#include <cstddef>
#include <functional>

/// Calls `task(i)` once for every i in [0, count), on at most `maxThreads` threads (the calling
/// thread included; 0 means the number of cores) and returns when every call returned. A task
/// that throws is reported and counts as done; the others still run. Tasks must share nothing
/// unguarded and must not wait for the calling thread.
void ParallelFor(std::size_t count, std::size_t maxThreads, const std::function<void(std::size_t)>& task);

/// The number of cores (at least 1).
std::size_t CoreCount();
