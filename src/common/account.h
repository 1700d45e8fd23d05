#pragma once
// Process-wide account and upload state.
#include <string>

namespace cvu {

// The account texts, named after their CVU_DATA columns.
struct AccountValues {
  std::string user_hash = "0";
  std::string user_id = "0";
  std::string user_name = "Anonymous";
  std::string user_secure = "0";

  static AccountValues Anonymous() { return {}; }
};

struct UploadState {
  bool Uploading = false;
  bool GroupOpen = false;
  int GroupNumber = 0;
  int GroupTotal = 0;
  // Of the run so far: the files taken from the list, and those the service took.
  int FilesTaken = 0;
  int FilesUploaded = 0;
  // Files of the run that exist but were not uploaded stay at the head of the upload list,
  // in their order, for the next run: this many entries there are done with.
  int FailedKept = 0;
};

}  // namespace cvu
