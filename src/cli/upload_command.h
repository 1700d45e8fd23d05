#pragma once
// corvane-upload as a whole, from the parsed command line to the exit status.
#include <iosfwd>

#include "cli/cli_options.h"

namespace cvu::cli {

struct CommandStreams {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool terminal = false;  // standard error is a terminal: the live progress lines
};

// Runs the upload; usage and database errors are told on err and give status 2.
int RunUploadCommand(const CliOptions& options, const CommandStreams& streams);

// The arguments after the program's name, parsed and run: --help and --version on out,
// a usage error on err with status 2.
int CorvaneUploadMain(const std::vector<std::string>& args, const CommandStreams& streams);

}  // namespace cvu::cli
