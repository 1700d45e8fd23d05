#pragma once
// The run's shared state as the upload layer sees it: the store's, and who follows the
// uploads.
#include "store/store_context.h"
#include "upload/upload_events.h"

namespace cvu {

struct UploadContext : StoreContext {
  using StoreContext::StoreContext;

  // Told what happens to each file of a run; null: nobody follows.
  UploadEvents* uploadEvents = nullptr;
};

}  // namespace cvu
