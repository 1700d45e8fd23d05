#pragma once
// corvane-upload as a whole, from the parsed command line to the exit status.
#include <functional>
#include <iosfwd>

#include "cli/cli_options.h"
#include "cli/stop_requests.h"

namespace cvu::cli {

struct CommandStreams {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool terminal = false;  // standard error is a terminal: the live progress lines
  // The terminal's width in columns, asked whenever the live lines are drawn.
  std::function<int()> columns;
};

// Runs the upload; usage and database errors are told on err and give status 2.
int RunUploadCommand(const CliOptions& options, const CommandStreams& streams, StopRequests& stops);

// The arguments after the program's name, parsed and run: --help and --version on out,
// a usage error on err with status 2.
int CorvaneUploadMain(const std::vector<std::string>& args, const CommandStreams& streams, StopRequests& stops);

}  // namespace cvu::cli
