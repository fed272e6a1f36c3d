#include "common/notifier.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

class CPingEvents : public CNotifierEventsBase {
public:
    virtual void OnPing(int) {}
};

class CPinger : public CNotifier<CPingEvents> {};

// Records every call in a shared log and then runs an optional action, which
// may change the list it is being called from.
class Listener : public CPingEvents {
public:
    Listener(std::string name, std::vector<std::string>& log)
        : m_name(std::move(name)), m_log(log) {}

    void OnPing(int value) override {
        m_log.push_back(m_name + ":" + std::to_string(value));
        if (action)
            action();
    }

    std::function<void()> action;

private:
    std::string m_name;
    std::vector<std::string>& m_log;
};

using Log = std::vector<std::string>;

TEST(Notifier, AddAnswersTheExistingIndexAndRemoveTheFormerOne) {
    Log log;
    Listener a("a", log), b("b", log), c("c", log);
    CPinger pinger;
    EXPECT_EQ(pinger.AddListener(&a), 0);
    EXPECT_EQ(pinger.AddListener(&b), 1);
    EXPECT_EQ(pinger.AddListener(&a), 0);
    EXPECT_EQ(pinger.ListenerCount(), 2u);

    EXPECT_EQ(pinger.RemoveListener(&c), -1);
    EXPECT_EQ(pinger.RemoveListener(&a), 0);
    EXPECT_EQ(pinger.RemoveListener(&a), -1);
    EXPECT_EQ(pinger.AddListener(&c), 1);

    pinger.Fire(&CPingEvents::OnPing, 1);
    EXPECT_EQ(log, (Log{"b:1", "c:1"}));
}

TEST(Notifier, FiresInRegistrationOrderOnlyWhileEnabled) {
    Log log;
    Listener a("a", log), b("b", log), c("c", log);
    CPinger pinger;
    EXPECT_TRUE(pinger.IsFiringEnabled());
    pinger.AddListener(&c);
    pinger.AddListener(&a);
    pinger.AddListener(&b);

    pinger.EnableFiring(false);
    pinger.Fire(&CPingEvents::OnPing, 1);
    pinger.FireEach([&](CPingEvents& listener) { listener.OnPing(2); });
    EXPECT_TRUE(log.empty());

    pinger.EnableFiring(true);
    pinger.Fire(&CPingEvents::OnPing, 3);
    EXPECT_EQ(log, (Log{"c:3", "a:3", "b:3"}));
}

TEST(Notifier, AThrowingListenerDoesNotSilenceTheOthers) {
    Log log;
    Listener a("a", log), thrower("x", log), other("y", log), c("c", log);
    thrower.action = [] { throw std::runtime_error("listener failed"); };
    other.action = [] { throw 42; };
    CPinger pinger;
    pinger.AddListener(&a);
    pinger.AddListener(&thrower);
    pinger.AddListener(&other);
    pinger.AddListener(&c);

    EXPECT_NO_THROW(pinger.Fire(&CPingEvents::OnPing, 1));
    EXPECT_EQ(log, (Log{"a:1", "x:1", "y:1", "c:1"}));
    EXPECT_EQ(pinger.ListenerCount(), 4u);
}

// Removals during a walk must never make it skip a listener that is still
// registered, nor call one that is no longer registered.
TEST(Notifier, RemovalsDuringAWalkSkipNoRemainingListener) {
    Log log;
    Listener a("a", log), b("b", log), c("c", log), d("d", log), e("e", log);
    CPinger pinger;
    for (Listener* listener : {&a, &b, &c, &d, &e})
        pinger.AddListener(listener);

    // b removes itself and the one before it (already called) and the one
    // after the next (not yet called).
    b.action = [&] {
        EXPECT_EQ(pinger.RemoveListener(&b), 1);
        EXPECT_EQ(pinger.RemoveListener(&a), 0);
        EXPECT_EQ(pinger.RemoveListener(&d), 1);
    };
    pinger.Fire(&CPingEvents::OnPing, 1);
    EXPECT_EQ(log, (Log{"a:1", "b:1", "c:1", "e:1"}));

    log.clear();
    pinger.Fire(&CPingEvents::OnPing, 2);
    EXPECT_EQ(log, (Log{"c:2", "e:2"}));
}

TEST(Notifier, TheLastListenerMayRemoveEveryone) {
    Log log;
    Listener a("a", log), b("b", log);
    CPinger pinger;
    pinger.AddListener(&a);
    pinger.AddListener(&b);
    b.action = [&] {
        pinger.RemoveListener(&a);
        pinger.RemoveListener(&b);
    };
    pinger.Fire(&CPingEvents::OnPing, 1);
    EXPECT_EQ(log, (Log{"a:1", "b:1"}));
    EXPECT_EQ(pinger.ListenerCount(), 0u);
}

// A listener that fires the same notifier again starts a second walk; a
// removal inside it must move the outer walk's cursor too.
TEST(Notifier, ARemovalInANestedWalkKeepsTheOuterWalkInStep) {
    Log log;
    Listener a("a", log), b("b", log), c("c", log);
    CPinger pinger;
    pinger.AddListener(&a);
    pinger.AddListener(&b);
    pinger.AddListener(&c);

    bool nested = false;
    b.action = [&] {
        if (nested)
            return;
        nested = true;
        pinger.Fire(&CPingEvents::OnPing, 2);
    };
    a.action = [&] {
        if (nested)
            pinger.RemoveListener(&a);
    };
    pinger.Fire(&CPingEvents::OnPing, 1);
    EXPECT_EQ(log, (Log{"a:1", "b:1", "a:2", "b:2", "c:2", "c:1"}));
}

// A listener that died without unregistering is recognised by its cleared
// marker and dropped by the next walk. The storage stays ours, so the walk
// reads a real word of memory rather than freed heap.
TEST(Notifier, AWalkDropsAListenerDestroyedWithoutUnregistering) {
    Log log;
    Listener a("a", log), c("c", log);
    alignas(Listener) unsigned char storage[sizeof(Listener)];
    Listener* dead = ::new (static_cast<void*>(storage)) Listener("dead", log);

    CPinger pinger;
    pinger.AddListener(&a);
    pinger.AddListener(dead);
    pinger.AddListener(&c);
    EXPECT_TRUE(dead->IsListenerAlive());
    dead->~Listener();

    pinger.Fire(&CPingEvents::OnPing, 1);
    EXPECT_EQ(log, (Log{"a:1", "c:1"}));
    EXPECT_EQ(pinger.ListenerCount(), 2u);
}

// Listeners that count their calls; safe to call from several threads.
class CountingListener : public CPingEvents {
public:
    void OnPing(int) override { calls.fetch_add(1, std::memory_order_relaxed); }
    std::atomic<int> calls{0};
};

// Two threads fire while a third keeps taking listeners out of the list and
// putting them back at its end, so removals land both before and after the
// walking cursors. Listeners that stay registered throughout must be heard
// exactly once per firing.
TEST(Notifier, ListenersThatStayAreHeardOncePerFiringDespiteConcurrentChanges) {
    constexpr int kFirings = 3000;
    constexpr int kChanges = 6000;
    CountingListener steady[2];
    CountingListener moving[3];
    CPinger pinger;
    for (CountingListener& listener : moving)
        pinger.AddListener(&listener);
    for (CountingListener& listener : steady)
        pinger.AddListener(&listener);

    std::atomic<int> ready{0};
    auto waitForAll = [&] {
        ready.fetch_add(1);
        while (ready.load() < 3)
            std::this_thread::yield();
    };
    auto fire = [&] {
        waitForAll();
        for (int i = 0; i < kFirings; ++i)
            pinger.Fire(&CPingEvents::OnPing, i);
    };
    std::thread firstFirer(fire);
    std::thread secondFirer(fire);
    std::thread changer([&] {
        waitForAll();
        for (int i = 0; i < kChanges; ++i) {
            CountingListener& listener = moving[i % 3];
            EXPECT_GE(pinger.RemoveListener(&listener), 0);
            pinger.AddListener(&listener);
        }
    });
    firstFirer.join();
    secondFirer.join();
    changer.join();

    EXPECT_EQ(steady[0].calls.load(), 2 * kFirings);
    EXPECT_EQ(steady[1].calls.load(), 2 * kFirings);
    EXPECT_EQ(pinger.ListenerCount(), 5u);
}

} // namespace
