#include "upload/upload_progress.h"

#include <climits>
#include <memory>

namespace cvu {
namespace {

// Shared by the three events of one client, all on the worker thread.
struct TransferScale {
  std::int64_t divisor = 1;  // keeps byte counts of huge files within the bar's range
  std::int64_t step = 1;     // posts no more than one position per step
  std::int64_t lastPosted = -1;
  std::int64_t size = 0;
};

}  // namespace

TransferEvents ImageProgressEvents(UiThread& ui, ProgressBar& bar, UploadEvents* told, int file) {
  auto scale = std::make_shared<TransferScale>();
  TransferEvents events;
  events.begin = [&ui, &bar, scale](TransferDirection, std::int64_t expected) {
    scale->size = expected < 0 ? 0 : expected;
    scale->divisor = scale->size / INT_MAX + 1;
    scale->step = scale->size / 200 + 1;
    scale->lastPosted = 0;
    const int maximum = static_cast<int>(scale->size / scale->divisor);
    ui.post([&bar, maximum] {
      bar.setRange(0, maximum);
      bar.setPosition(0);
    });
  };
  events.progress = [&ui, &bar, told, scale, file](TransferDirection direction, std::int64_t soFar) {
    if (soFar - scale->lastPosted < scale->step) return;
    scale->lastPosted = soFar;
    const int position = static_cast<int>(soFar / scale->divisor);
    const bool sending = direction == TransferDirection::Send;
    ui.post([&bar, told, position, sending, file, soFar, size = scale->size] {
      bar.setPosition(position);
      if (sending && told) told->bytesSent(file, soFar, size);
    });
  };
  events.end = [&ui, &bar](TransferDirection) { ui.post([&bar] { bar.setPosition(0); }); };
  return events;
}

}  // namespace cvu
