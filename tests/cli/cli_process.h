#pragma once
// Runs the built corvane-upload as a child process in a given working folder, with a
// given standard input, and collects what it wrote and its exit status.
#include <string>
#include <vector>

namespace cvu::test {

struct CliRun {
  int status = -1;  // the exit status; -1 when it did not exit normally
  std::string out;
  std::string err;
};

CliRun RunCorvaneUploadProcess(const std::vector<std::string>& args, const std::string& workingDir,
                               const std::string& input = "");

// The lines of a text without their line breaks.
std::vector<std::string> Lines(const std::string& text);

}  // namespace cvu::test
