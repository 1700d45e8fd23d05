#pragma once
// One start of a windowed process, measured from outside: from exec until the first
// answer to a ping after its window was mapped (start-up), the longest round trip while
// it starts (the worst stall of its UI thread), and its memory once it stopped growing.
#include <string>
#include <vector>

#include "gui_environment.h"
#include "proc_status.h"

namespace cvu::bench {

struct Launch {
  std::vector<std::string> argv;
  std::string folder;       // its working folder; its output goes to output.txt there
  std::string socketPath;   // where it answers "show\n"
  bool endsCleanly = true;  // SIGTERM must end it with exit code 0
};

struct ProbeSettings {
  double window = 5;       // seconds from exec in which the worst stall is taken
  double settleMax = 120;  // the longest wait for the memory to stop growing
  double settleSpan = 2;   // the memory counts as settled when it moved less than 256 kB in this span
};

struct Probe {
  double startup = 0;       // seconds from exec to the first answer with the window mapped
  double worstStall = 0;    // the longest round trip in the window
  double worstStallAt = 0;  // when that ping was sent, seconds from exec
  double laterStall = 0;    // the longest round trip after the window, while the memory settled
  double settledAt = 0;     // when the memory stopped growing, seconds from exec
  bool settled = false;
  int pings = 0;
  MemoryKb memory;  // read once settled (or at settleMax)
};

// Throws with the child's output when it did not start, stopped answering or ended badly.
Probe ProbeStart(const GuiEnvironment& env, const Launch& launch, const ProbeSettings& settings);

}  // namespace cvu::bench
