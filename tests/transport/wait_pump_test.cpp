#include "core/ResultCodes.h"
#include "core/WaitPump.h"
#include "transport/can/lib/CanClock.h"
#include "transport/serial/PosixSerialPort.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <thread>
#include <unistd.h>

// Bus waits on a thread with a pump let it run between slices, with the bus lock
// released; without a pump, or on another thread, they wait in one piece.
namespace {

struct PumpCount {
    int calls = 0;
    PumpCount(std::function<void()> also = {})
    {
        waitpump::install([this, also] {
            ++calls;
            if (also)
                also();
        });
    }
    ~PumpCount() { waitpump::install({}); }
};

TEST(WaitPump, CanWaitPumpsWithTheLockReleasedAndEndsWhenReady)
{
    std::mutex mutex;
    std::condition_variable cv;
    std::unique_lock<std::mutex> lock(mutex);
    bool ready = false;
    bool lockFreeWhilePumping = true;
    int pumpsBeforeReady = 3;
    PumpCount pump([&] {
        lockFreeWhilePumping = lockFreeWhilePumping && mutex.try_lock();
        if (lockFreeWhilePumping)
            mutex.unlock();
        ready = --pumpsBeforeReady == 0;
    });
    SteadyCanClock clock;
    EXPECT_TRUE(clock.waitUntil(lock, cv, clock.nowMs() + 5000, [&] { return ready; }));
    EXPECT_EQ(pump.calls, 3);
    EXPECT_TRUE(lockFreeWhilePumping);
    EXPECT_TRUE(lock.owns_lock());
}

TEST(WaitPump, TimesOutAndOnlyPumpsOnItsOwnThread)
{
    std::mutex mutex;
    std::condition_variable cv;
    SteadyCanClock clock;
    PumpCount pump;
    std::thread other([&] {
        std::unique_lock<std::mutex> lock(mutex);
        EXPECT_FALSE(clock.waitUntil(lock, cv, clock.nowMs() + 100, [] { return false; }));
    });
    other.join();
    EXPECT_EQ(pump.calls, 0);

    std::unique_lock<std::mutex> lock(mutex);
    const int64_t start = clock.nowMs();
    EXPECT_FALSE(clock.waitUntil(lock, cv, start + 100, [] { return false; }));
    EXPECT_GE(clock.nowMs() - start, 100);
    EXPECT_GE(pump.calls, 1);
}

TEST(WaitPump, SilentSerialLinePumpsUntilItsTimeOut)
{
    int master = -1;
    int slave = -1;
    char name[128] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    std::unique_ptr<PosixSerialPort> port;
    ASSERT_EQ(PosixSerialPort::open(QString::fromLatin1(name), SerialLine{}, port), rc::Ok);
    PumpCount pump;
    char byte = 0;
    EXPECT_EQ(port->read(&byte, 1, 100), rc::Timeout);
    EXPECT_GE(pump.calls, 1);
    port.reset();
    close(slave);
    close(master);
}

}  // namespace
