#pragma once
// corvane-upload as a user runs it: a fresh process in a folder of its own with a copy of a
// database, the files on its command line, ended by a time limit if it hangs. Its peak
// memory is VmHWM from /proc, read every 20 ms while it runs (from its exec on).
#include <string>
#include <vector>

namespace cvu::bench {

struct CommandResult {
  int exitCode = -1;   // -signal when a signal ended it
  double seconds = 0;  // start to exit
  long peakKb = 0;     // the last VmHWM read before it ended
  long recorded = 0;   // rows in CVU_HISTORY of its database afterwards
  std::string output;  // its standard output and error
};

// corvane-upload <args> <files>; throws when it does not end within `timeout` seconds.
CommandResult RunUploadCommand(const std::string& database, const std::vector<std::string>& args,
                               const std::vector<std::string>& files, double timeout);

}  // namespace cvu::bench
