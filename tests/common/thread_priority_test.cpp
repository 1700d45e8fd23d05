#include "common/thread_priority.h"

#include <gtest/gtest.h>

#include <thread>

namespace cvu {
namespace {

#if defined(__linux__)

TEST(ThreadPriority, LowersTheCallingThreadOnly) {
  const int before = ThisThreadNiceness();
  if (before >= 10) GTEST_SKIP() << "the test runs at niceness " << before;
  bool lowered = false;
  int inside = 0;
  std::thread worker([&] {
    lowered = LowerThisThreadPriority(10);
    inside = ThisThreadNiceness();
  });
  worker.join();
  EXPECT_TRUE(lowered);
  EXPECT_EQ(inside, 10);
  EXPECT_EQ(ThisThreadNiceness(), before);  // neither the process nor this thread
}

TEST(ThreadPriority, KeepsAThreadThatIsAlreadyNicer) {
  if (ThisThreadNiceness() >= 15) GTEST_SKIP() << "the test runs at niceness " << ThisThreadNiceness();
  int after = 0;
  bool lowered = false;
  std::thread worker([&] {
    ASSERT_TRUE(LowerThisThreadPriority(15));
    lowered = LowerThisThreadPriority(10);  // raising it back needs privileges: not asked for
    after = ThisThreadNiceness();
  });
  worker.join();
  EXPECT_TRUE(lowered);
  EXPECT_EQ(after, 15);
}

#endif

}  // namespace
}  // namespace cvu
