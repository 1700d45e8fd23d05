#pragma once
// The floor for a whole upload run: the same requests made with plain libcurl, a fresh
// easy handle per request, nothing recorded.
#include <string>
#include <vector>

#include "upload/upload_options.h"

namespace cvu::bench {

struct CurlLoopCounts {
  int accepted = 0;  // posts answered with a Location
  int pages = 0;     // result pages that held the result comment
};

// For each file: POST http://host//upload.html with the upload form, then GET
// http://host/<Location>.
CurlLoopCounts CurlUploadLoop(const std::string& host, const UploadOptionValues& options,
                              const std::vector<std::string>& files);

}  // namespace cvu::bench
