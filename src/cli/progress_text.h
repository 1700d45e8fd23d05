#pragma once
// The texts of the progress report: sizes, rates, the line of the file in hand and the
// summary.
#include <cstdint>
#include <string>

namespace cvu::cli {

// Where one file stands.
struct FileProgress {
  int index = 0;  // 0-based position among the files sent
  int total = 0;
  std::string name;        // without its folder
  std::uint64_t size = 0;  // bytes of the file
  double fraction = 0;     // of the request body sent, 0..1
  double seconds = 0;      // since the file's upload began
};

// "999 B", "200.0 KB", "1.5 MB", "1.00 GB" (1 KB = 1024 bytes).
std::string FormatBytes(std::uint64_t bytes);
// Bytes per second as FormatBytes + "/s"; "-" when no time has passed.
std::string FormatRate(double bytes, double seconds);
// "[2/5] b.png  120.0 KB of 200.0 KB  60%  3.4 MB/s".
std::string ProgressLine(const FileProgress& p);
// "3 of 4 files uploaded and recorded, 600.0 KB in 0.4 s".
std::string SummaryLine(int recorded, int total, std::uint64_t bytes, double seconds);

}  // namespace cvu::cli
