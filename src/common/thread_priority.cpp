#include "common/thread_priority.h"

#if defined(__linux__)
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace cvu {

#if defined(__linux__)

// On Linux every thread has a niceness of its own, addressed by its thread id.
int ThisThreadNiceness() {
  errno = 0;
  const int value = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
  return errno == 0 ? value : 0;
}

bool LowerThisThreadPriority(int niceness) {
  if (ThisThreadNiceness() >= niceness) return true;
  return setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), niceness) == 0;
}

#else

int ThisThreadNiceness() { return 0; }
bool LowerThisThreadPriority(int) { return false; }

#endif

}  // namespace cvu
