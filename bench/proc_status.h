#pragma once
// A process's memory as the kernel reports it in /proc/<pid>/status.
#include <sys/types.h>

#include <string>
#include <string_view>

namespace cvu::bench {

struct MemoryKb {
  long rss = -1;  // VmRSS: resident now
  long hwm = -1;  // VmHWM: the most it has been resident
};

// The value in kB of a "Name:   1234 kB" line of a status text; -1 when it has none.
long StatusKb(std::string_view status, std::string_view name);
MemoryKb ParseMemory(std::string_view status);
// -1 values when the process is gone.
MemoryKb ReadMemory(pid_t pid);

}  // namespace cvu::bench
