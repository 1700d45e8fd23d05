// The pure parts of the GUI process benchmarks: reading a process's memory figures,
// telling the run's requests apart, and ending children.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>

#include "child_process.h"
#include "proc_status.h"
#include "request_tap.h"

namespace cvu::bench {
namespace {

constexpr const char* kStatus =
    "Name:\tcorvane-uploader\nVmPeak:\t  812340 kB\nVmHWM:\t  112840 kB\nVmRSS:\t   86324 kB\nRssAnon:\t   50000 kB\n";

TEST(ProcStatus, ReadsTheNamedLinesInKb) {
  const MemoryKb m = ParseMemory(kStatus);
  EXPECT_EQ(m.rss, 86324);
  EXPECT_EQ(m.hwm, 112840);
}

TEST(ProcStatus, NameMustBeTheWholeField) {
  EXPECT_EQ(StatusKb(kStatus, "Vm"), -1);
  EXPECT_EQ(StatusKb(kStatus, "Rss"), -1);
  EXPECT_EQ(StatusKb("VmRSS:\tnone\n", "VmRSS"), -1);
}

TEST(ProcStatus, ThisProcessIsResident) {
  const MemoryKb m = ReadMemory(getpid());
  EXPECT_GT(m.rss, 0);
  EXPECT_GE(m.hwm, m.rss);
}

Exchange At(std::string method, std::string path, double first, double last) {
  const auto zero = std::chrono::steady_clock::time_point{};
  const auto at = [zero](double s) {
    return zero + std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(s));
  };
  return {std::move(method), std::move(path), at(first), at(last)};
}

TEST(RequestTap, SpanRunsFromTheFirstUploadToTheLastResultPage) {
  const std::vector<Exchange> run = {
      At("GET", "//cvuversion.txt", 0.5, 0.6),  // the version check is not part of the run
      At("POST", "//upload.html", 2.0, 2.1),   At("GET", "/i-4f2a", 2.2, 2.3), At("POST", "/upload.html", 3.0, 3.1),
      At("GET", "//i-77c1", 3.2, 3.5),         At("POST", "/", 4.0, 4.1),      At("GET", "/f-77c1", 4.0, 4.2),
  };
  const RunSpan span = SpanOf(run);
  EXPECT_EQ(span.posts, 2);
  EXPECT_EQ(span.results, 2);
  EXPECT_NEAR(span.seconds, 1.5, 1e-6);
}

TEST(RequestTap, NoUploadNoSpan) {
  const RunSpan span = SpanOf({At("GET", "/i-1", 1, 2)});
  EXPECT_EQ(span.posts, 0);
  EXPECT_EQ(span.seconds, 0);
}

TEST(ChildProcess, TerminateGivesTheExitCode) {
  ChildProcess child({{"sh", "-c", "exit 3"}, "", {}, "", -1});
  while (child.running()) usleep(1000);
  EXPECT_EQ(child.terminate(), 3);
}

TEST(ChildProcess, TerminateEndsARunningChild) {
  ChildProcess child({{"sleep", "30"}, "", {}, "", -1});
  EXPECT_TRUE(child.running());
  EXPECT_EQ(child.terminate(), -SIGTERM);
  EXPECT_FALSE(child.running());
}

TEST(ChildProcess, RunsInItsFolderWithItsVariables) {
  const std::string out = testing::TempDir() + "cvu-child-output.txt";
  {
    ChildProcess child({{"sh", "-c", "echo \"$CVU_PROBE $(pwd)\""}, "/tmp", {{"CVU_PROBE", "set"}}, out, -1});
    while (child.running()) usleep(1000);
    EXPECT_EQ(child.terminate(), 0);
  }
  std::string line;
  std::getline(std::ifstream(out), line);
  std::remove(out.c_str());
  EXPECT_EQ(line, "set /tmp");
}

}  // namespace
}  // namespace cvu::bench
