#include "platform/ParallelFor.h"

// std
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

// Orvane
#include "platform/LastError.h"
#include "platform/ReportSystemError.h"

std::size_t CoreCount()
{
    return std::max(1u, std::thread::hardware_concurrency());
}

void ParallelFor(std::size_t count, std::size_t maxThreads, const std::function<void(std::size_t)>& task)
{
    if (count == 0 || !task)
        return;
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            try {
                task(i);
            } catch (...) {
                ReportSystemError(GetLastError(), "ParallelFor");
            }
        }
    };
    const std::size_t threads = std::min(count, maxThreads == 0 ? CoreCount() : maxThreads);
    std::vector<std::thread> helpers;
    helpers.reserve(threads - 1);
    for (std::size_t t = 1; t < threads; ++t) {
        try {
            helpers.emplace_back(work);
        } catch (...) {
            break; // no more threads: the ones there are take the rest
        }
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();
}
