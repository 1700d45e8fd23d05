#include "window_probe.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "child_process.h"
#include "ping_client.h"
#include "x_display.h"

namespace cvu::bench {
namespace {

constexpr double kStartTimeout = 60;   // seconds for the window to appear and answer
constexpr int kPingTimeoutMs = 30000;  // one round trip; a longer stall fails the run
constexpr long kSettledKb = 256;
// Between answered pings, so the pings themselves do not keep the UI thread busy; short
// while the window is awaited, for a fine start-up figure.
constexpr auto kPauseWhileStarting = std::chrono::microseconds(500);
constexpr auto kPauseAfterStart = std::chrono::milliseconds(5);

std::string OutputOf(const Launch& launch) {
  std::ifstream file(launch.folder + "/output.txt");
  std::stringstream text;
  text << file.rdbuf();
  std::string all = text.str();
  return all.size() > 2000 ? all.substr(all.size() - 2000) : all;
}

[[noreturn]] void Fail(const Launch& launch, const std::string& what) {
  throw std::runtime_error(launch.argv[0] + ": " + what + "\n--- its output:\n" + OutputOf(launch));
}

double Since(const ChildProcess& child) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - child.started()).count();
}

// VmRSS samples: the memory has settled once it stayed within kSettledKb of the value
// it reached at its last move for a whole span.
class SettleWatch {
 public:
  explicit SettleWatch(double span) : span_(span) {}
  void add(double at, long rssKb) {
    if (lastMove_ < 0 || std::labs(rssKb - reference_) >= kSettledKb) reference_ = rssKb, lastMove_ = at;
    latest_ = at;
  }
  bool settled() const { return lastMove_ >= 0 && latest_ - lastMove_ >= span_; }
  double lastMove() const { return lastMove_; }

 private:
  double span_;
  long reference_ = 0;
  double lastMove_ = -1;
  double latest_ = 0;
};

}  // namespace

Probe ProbeStart(const GuiEnvironment& env, const Launch& launch, const ProbeSettings& settings) {
  MapWatch watch(env.display());  // before the start, so the mapping is seen
  ChildSetup setup{launch.argv, launch.folder, env.variables(), launch.folder + "/output.txt", -1};
  ChildProcess child(setup);
  Probe probe;
  bool started = false;
  bool answered = false;
  SettleWatch memory(settings.settleSpan);
  double nextSample = 0;
  while (true) {
    const double sent = Since(child);
    if (!started && sent > kStartTimeout) Fail(launch, "no window answered within 60 s");
    if (sent >= nextSample) {
      memory.add(sent, ReadMemory(child.pid()).rss);
      nextSample = sent + 0.1;
    }
    if (started && sent >= settings.window && (memory.settled() || sent > settings.settleMax)) break;
    const std::optional<double> trip = Ping(launch.socketPath, kPingTimeoutMs);
    const double answeredAt = Since(child);
    if (!trip) {
      if (!child.running()) Fail(launch, "ended while starting");
      if (answered) Fail(launch, "stopped answering (no answer within 30 s)");
      std::this_thread::sleep_for(std::chrono::milliseconds(1));  // not listening yet
      continue;
    }
    answered = true;
    ++probe.pings;
    if (sent >= settings.window) {
      probe.laterStall = std::max(probe.laterStall, *trip);
    } else if (*trip > probe.worstStall) {
      probe.worstStall = *trip;
      probe.worstStallAt = sent;
    }
    // The answer's own moment: the check of the mapping that follows is a round trip to
    // the X server, which may still be busy with the window's first painting. Every
    // answer comes after the mapping was asked for (both programs listen only once
    // their window is shown), so the check only tells whether the server has made it.
    if (!started && watch.mapped(child.pid())) {
      started = true;
      probe.startup = answeredAt;
    }
    std::this_thread::sleep_for(started ? kPauseAfterStart : kPauseWhileStarting);
  }
  probe.settled = memory.settled();
  probe.settledAt = memory.lastMove();
  probe.memory = ReadMemory(child.pid());
  const int code = child.terminate();
  if (launch.endsCleanly && code != 0) Fail(launch, "ended with " + std::to_string(code) + " on SIGTERM");
  return probe;
}

}  // namespace cvu::bench
