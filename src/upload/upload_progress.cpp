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
};

}  // namespace

TransferEvents ImageProgressEvents(StoreContext& ctx) {
  auto scale = std::make_shared<TransferScale>();
  TransferEvents events;
  events.begin = [&ctx, scale](TransferDirection, std::int64_t expected) {
    const std::int64_t size = expected < 0 ? 0 : expected;
    scale->divisor = size / INT_MAX + 1;
    scale->step = size / 200 + 1;
    scale->lastPosted = 0;
    const int maximum = static_cast<int>(size / scale->divisor);
    ctx.ui.post([&ctx, maximum] {
      ctx.main.CVU_PBarImage().setRange(0, maximum);
      ctx.main.CVU_PBarImage().setPosition(0);
    });
  };
  events.progress = [&ctx, scale](TransferDirection, std::int64_t soFar) {
    if (soFar - scale->lastPosted < scale->step) return;
    scale->lastPosted = soFar;
    const int position = static_cast<int>(soFar / scale->divisor);
    ctx.ui.post([&ctx, position] { ctx.main.CVU_PBarImage().setPosition(position); });
  };
  events.end = [&ctx](TransferDirection) { ctx.ui.post([&ctx] { ctx.main.CVU_PBarImage().setPosition(0); }); };
  return events;
}

}  // namespace cvu
