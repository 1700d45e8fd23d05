#include "app/font_config_preload.h"

#include <fontconfig/fontconfig.h>

namespace cvu {

// FcInit makes the process's current configuration, the one Qt's font database then uses.
FontConfigPreload::FontConfigPreload() : thread_([] { FcInit(); }) {}

void FontConfigPreload::wait() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace cvu
