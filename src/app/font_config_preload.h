#pragma once
// The desktop's font configuration (its files and font caches) takes several
// milliseconds to read, and the first text the window lays out waits for it. Read on a
// thread of its own while the application connects to the display, it is ready by then.
#include <thread>

namespace cvu {

class FontConfigPreload {
 public:
  FontConfigPreload();
  ~FontConfigPreload() { wait(); }
  FontConfigPreload(const FontConfigPreload&) = delete;
  FontConfigPreload& operator=(const FontConfigPreload&) = delete;

  // Returns once the configuration is read; Qt's font database may be used from then on.
  void wait();

 private:
  std::jthread thread_;
};

}  // namespace cvu
