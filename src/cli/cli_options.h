#pragma once
// The command line of corvane-upload: what to upload, with which upload options, and
// what to print.
#include <optional>
#include <string>
#include <vector>

#include "cli/text_kind.h"
#include "common/long_options.h"  // UsageError

namespace cvu::cli {

inline constexpr int kMaxJobs = 64;

struct CliOptions {
  std::vector<std::string> files;  // as given; "-" stands for the paths on standard input
  // The upload options window's values; unset ones keep the window's initial state.
  std::optional<int> quality;         // 5..100
  std::optional<std::string> filter;  // the value sent: "2".."10"
  std::string thumbtext;
  std::string title;
  std::optional<std::string> album;  // album_id; unset: the window's empty album list
  bool publish = false;
  bool noConvert = false;  // --no-convert: "nod" stays "on" whatever else is chosen
  bool convert = false;    // --convert: "nod" is "off" with the initial quality and filter
  bool anonymous = false;  // upload without the stored account
  TextKind format = TextKind::Page;
  bool formatGiven = false;
  bool json = false;
  int jobs = 4;             // files in flight at once, 1..kMaxJobs
  std::string database;     // empty: the program's database in the data folder
  std::string host;         // empty: the service host the program was built for
  bool dataFolder = false;  // print the data folder, made and filled if need be
  bool help = false;
  bool version = false;
};

// Parses the arguments after the program's name. Throws UsageError.
CliOptions ParseCommandLine(const std::vector<std::string>& args);

// Whether "nod" (no conversion) is sent as "on": as in the window, choosing a quality or
// a filter means unticking the box first.
bool SendsNoConversion(const CliOptions& options);

// The value sent as "filter" for one of the nine filter entries, named by its value
// ("2".."10"), by its entry text, or by the entry's Latin words in any letter case with
// or without blanks and hyphens ("sepia", "gaussian-blur", "none"). Nothing otherwise.
std::optional<std::string> FilterValueByName(const std::string& name);

}  // namespace cvu::cli
