#include "common/queue_ui_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace cvu {
namespace {

using namespace std::chrono_literals;

// The command line's drain loop: what a worker posts waits for the next wake-up, but
// it runs in the order posted, before a later hand-over the worker waits on.
TEST(QueueUiThread, BatchedPostsRunInOrderBeforeAHandOverThatWaits) {
  QueueUiThread ui(QueueUiThread::PostWake::Batched);
  std::vector<int> ran;  // UI thread only
  std::atomic<bool> answered{false};
  std::vector<int> seenByHandOver;
  std::thread worker([&] {
    for (int i = 0; i < 50; ++i) ui.post([&ran, i] { ran.push_back(i); });
    ui.invoke([&] { seenByHandOver = ran; });
    answered = true;
  });
  EXPECT_TRUE(ui.runUntil([&] { return answered.load(); }, 10s));
  worker.join();
  std::vector<int> expected(50);
  for (int i = 0; i < 50; ++i) expected[i] = i;
  EXPECT_EQ(seenByHandOver, expected);
  EXPECT_EQ(ran, expected);
  EXPECT_EQ(ui.blockingHandOvers(), 1);
}

// A condition another thread changes without posting anything: its wake() ends the wait.
TEST(QueueUiThread, WakeMakesTheLoopLookAtAConditionChangedWithoutWork) {
  for (const auto wake : {QueueUiThread::PostWake::AtOnce, QueueUiThread::PostWake::Batched}) {
    QueueUiThread ui(wake);
    std::atomic<bool> done{false};
    std::thread other([&] {
      done = true;
      ui.wake();
    });
    EXPECT_TRUE(ui.runUntil([&] { return done.load(); }, 10s));
    other.join();
    EXPECT_EQ(ui.drain(), 0);  // the wake-up queued nothing
  }
}

// A post made on the UI thread itself is queued, not run at once, whatever the wake.
TEST(QueueUiThread, PostsFromTheUiThreadWaitForTheDrain) {
  QueueUiThread ui(QueueUiThread::PostWake::Batched);
  int runs = 0;
  ui.post([&runs] { ++runs; });
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(ui.drain(), 1);
  EXPECT_EQ(runs, 1);
  ui.invoke([&runs] { ++runs; });  // on the UI thread: at once
  EXPECT_EQ(runs, 2);
}

}  // namespace
}  // namespace cvu
