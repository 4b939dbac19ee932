// A hold may last hours at 100 ticks a second: the tick must not touch the heap.
#include "ContentView.h"
#include "FakeClock.h"
#include "FakeTimer.h"
#include "MemoryStore.h"

#include <QTest>
#include <atomic>
#include <cstdlib>

namespace {
std::atomic<long> allocations{0};
}

// Count every heap allocation, QString's and operator new's alike: both end in malloc.
// (The sanitizer build brings its own allocator, so there the test has nothing to count.)
#ifndef __SANITIZE_ADDRESS__
extern "C" {
void *__libc_malloc(std::size_t);
void *__libc_calloc(std::size_t, std::size_t);
void *__libc_realloc(void *, std::size_t);

void *malloc(std::size_t size)
{
    ++allocations;
    return __libc_malloc(size);
}

void *calloc(std::size_t count, std::size_t size)
{
    ++allocations;
    return __libc_calloc(count, size);
}

void *realloc(void *memory, std::size_t size)
{
    ++allocations;
    return __libc_realloc(memory, size);
}
}
#endif

class TestTickAllocation : public QObject
{
    Q_OBJECT

private slots:
    void tickAllocatesNothing()
    {
#ifdef __SANITIZE_ADDRESS__
        QSKIP("the sanitizer's allocator cannot be counted");
#endif
        const long atStart = allocations;
        QString probe = QString::number(allocations.load());
        QVERIFY2(allocations > atStart, "allocations are not being counted");

        auto clock = std::make_shared<FakeClock>();
        auto timer = std::make_shared<FakeTimer>();
        ContentView view(ContentView::Services{clock, timer, std::make_shared<MemoryStore>()});
        int notified = 0;
        connect(&view, &ContentView::elapsedChanged, this, [&notified] { ++notified; });
        view.startHolding();

        const long before = allocations;
        for (int i = 0; i < 10'000; ++i) {
            clock->advance(std::chrono::milliseconds(10));
            timer->fire();
        }
        const long during = allocations - before;
        QCOMPARE(notified, 10'000);
        QCOMPARE(during, 0L);
        QCOMPARE(view.elapsed(), 100.0);
    }
};

QTEST_GUILESS_MAIN(TestTickAllocation)
#include "tst_tickallocation.moc"
