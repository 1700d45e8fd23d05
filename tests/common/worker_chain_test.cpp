#include "common/worker_chain.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "common/queue_ui_thread.h"

namespace cvu {
namespace {

using namespace std::chrono_literals;

// Waits, with a bound for a chain that hangs, until the chain has nothing left to run.
bool WaitIdle(const WorkerChain& chain) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!chain.idle()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

// Records which workers ran, in which order, on which thread, and how many at once.
struct Trace {
  std::mutex mutex;
  std::vector<int> order;
  std::vector<std::thread::id> threads;
  std::atomic<int> runningNow{0};
  std::atomic<int> mostAtOnce{0};

  void enter(int id) {
    const int now = ++runningNow;
    int most = mostAtOnce.load();
    while (now > most && !mostAtOnce.compare_exchange_weak(most, now)) {
    }
    std::lock_guard lock(mutex);
    order.push_back(id);
    threads.push_back(std::this_thread::get_id());
  }
  void leave() { --runningNow; }
};

TEST(WorkerChain, RunsWorkersOneAtATimeInStartOrderOnOneThread) {
  WorkerChain chain;
  Trace trace;
  for (int id = 0; id < 20; ++id) {
    ASSERT_TRUE(chain.start([&trace, id] {
      trace.enter(id);
      std::this_thread::sleep_for(std::chrono::microseconds(200));
      trace.leave();
    }));
  }
  ASSERT_TRUE(WaitIdle(chain));
  std::vector<int> expected(20);
  for (int id = 0; id < 20; ++id) expected[id] = id;
  EXPECT_EQ(trace.order, expected);
  EXPECT_EQ(trace.mostAtOnce.load(), 1);
  for (const auto& thread : trace.threads) EXPECT_EQ(thread, trace.threads.front());
  EXPECT_NE(trace.threads.front(), std::this_thread::get_id());
  // A chain that went idle takes a new start on the same thread.
  std::promise<std::thread::id> later;
  ASSERT_TRUE(chain.start([&later] { later.set_value(std::this_thread::get_id()); }));
  EXPECT_EQ(later.get_future().get(), trace.threads.front());
}

// The chain of the upload: each worker starts its successor as its last act; the
// successor must not run before its predecessor has returned.
TEST(WorkerChain, SuccessorStartedFromAWorkerRunsAfterItEnds) {
  WorkerChain chain;
  Trace trace;
  std::atomic<int> ended{-1};
  std::atomic<bool> overlapped{false};
  std::function<void(int)> worker = [&](int id) {
    trace.enter(id);
    if (ended.load() != id - 1) overlapped = true;
    if (id < 50) {
      EXPECT_TRUE(chain.start([&worker, id] { worker(id + 1); }));
    }
    std::this_thread::sleep_for(std::chrono::microseconds(100));  // still inside after the start
    ended = id;
    trace.leave();
  };
  ASSERT_TRUE(chain.start([&worker] { worker(0); }));
  ASSERT_TRUE(WaitIdle(chain));
  EXPECT_EQ(ended.load(), 50);
  EXPECT_FALSE(overlapped.load());
  EXPECT_EQ(trace.mostAtOnce.load(), 1);
  EXPECT_EQ(trace.order.size(), 51u);
}

// A worker that waits on the UI thread while the chain closes: close serves its
// hand-over through the pump, waits for it to end, and refuses what comes after.
TEST(WorkerChain, CloseWhileAWorkerRunsPumpsItsHandOversAndWaitsForIt) {
  QueueUiThread ui;
  WorkerChain chain;
  std::promise<void> inside;
  std::atomic<bool> finished{false};
  std::atomic<bool> successorRan{false};
  std::atomic<bool> successorStarted{true};
  std::atomic<bool> sawClosing{false};
  ASSERT_TRUE(chain.start([&] {
    inside.set_value();
    while (!chain.closing()) std::this_thread::sleep_for(1ms);
    sawClosing = true;
    ui.invoke([] {});  // answered only by close's pump
    successorStarted = chain.start([&] { successorRan = true; });
    finished = true;
  }));
  inside.get_future().wait();
  EXPECT_FALSE(chain.idle());
  chain.close([&ui] { ui.drain(); });
  EXPECT_TRUE(finished.load());
  EXPECT_TRUE(sawClosing.load());
  EXPECT_FALSE(successorStarted.load());
  EXPECT_FALSE(successorRan.load());
  EXPECT_TRUE(chain.idle());
  EXPECT_TRUE(chain.closing());
  EXPECT_FALSE(chain.start([&] { successorRan = true; }));
  chain.close({});  // a second close has nothing to wait for
  EXPECT_FALSE(successorRan.load());
}

// Workers started before the close still run; the close waits for every one of them.
TEST(WorkerChain, CloseWaitsForWorkersStartedBeforeIt) {
  WorkerChain chain;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::atomic<int> ran{0};
  ASSERT_TRUE(chain.start([released, &ran] {
    released.wait();
    ++ran;
  }));
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(chain.start([&ran] { ++ran; }));
  bool released_once = false;
  chain.close([&] {
    if (!released_once) release.set_value();
    released_once = true;
  });
  EXPECT_EQ(ran.load(), 4);
  EXPECT_TRUE(chain.idle());
}

TEST(WorkerChain, AnUnusedChainClosesAndEndsWithoutAThread) {
  WorkerChain chain;
  EXPECT_TRUE(chain.idle());
  EXPECT_FALSE(chain.closing());
  chain.close({});
  EXPECT_TRUE(chain.closing());
  EXPECT_FALSE(chain.start([] {}));
}

TEST(WorkerChain, DestructorWaitsForTheRunningWorker) {
  std::atomic<bool> finished{false};
  {
    WorkerChain chain;
    std::promise<void> inside;
    ASSERT_TRUE(chain.start([&] {
      inside.set_value();
      std::this_thread::sleep_for(20ms);
      finished = true;
    }));
    inside.get_future().wait();
  }
  EXPECT_TRUE(finished.load());
}

}  // namespace
}  // namespace cvu
