// Memory the process freed goes back to the system on request: the free pages of every
// thread's heap.

// Qt
#include <QtTest>

// Orvane
#include "platform/MemoryTrim.h"

// std
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

// unix
#include <unistd.h>

namespace {

constexpr std::size_t kMiB = 1024 * 1024;

// Resident bytes of this process
double ResidentBytes()
{
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE));
}

void* Touched(std::size_t size)
{
    void* block = std::malloc(size);
    if (block)
        std::memset(block, 0x5a, size);
    return block;
}

bool Glibc()
{
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
    return true;
#else
    return false;
#endif
}

} // namespace

class tst_MemoryTrim : public QObject
{
    Q_OBJECT
private slots:
    void givesBackTheFreedPagesOfAWorkerThread();
};

void tst_MemoryTrim::givesBackTheFreedPagesOfAWorkerThread()
{
    if (!Glibc())
        QSKIP("the allocator is not glibc's");
    // 32 MiB in blocks small enough for the thread's heap, then a block above them that stays:
    // the freed pages lie below it, where the heap never shrinks by itself
    void* fence = nullptr;
    std::thread worker([&] {
        std::vector<void*> blocks;
        for (int i = 0; i < 512; ++i)
            blocks.push_back(Touched(64 * 1024));
        fence = Touched(96 * 1024);
        for (void* block : blocks)
            std::free(block);
    });
    worker.join();
    const double before = ResidentBytes();
    GiveBackFreedMemory();
    const double after = ResidentBytes();
    std::free(fence);
    QVERIFY2(before - after >= 24.0 * kMiB, qPrintable(QStringLiteral("%1 MiB given back").arg((before - after) / kMiB)));
}

QTEST_GUILESS_MAIN(tst_MemoryTrim)
#include "tst_MemoryTrim.moc"
