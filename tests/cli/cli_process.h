#pragma once
// Runs the built corvane-upload as a child process in a given working folder, with a
// given standard input and environment, and collects what it wrote and its exit status.
#include <string>
#include <vector>

namespace cvu::test {

struct CliRun {
  int status = -1;  // the exit status; -1 when it did not exit normally
  std::string out;
  std::string err;
};

// The child's HOME is a folder beside workingDir ("<workingDir>.home", made when used)
// and XDG_DATA_HOME is unset, so no run reaches the user's own data folder; environment
// ("NAME=VALUE") sets more or overrides them.
CliRun RunCorvaneUploadProcess(const std::vector<std::string>& args, const std::string& workingDir,
                               const std::string& input = "", const std::vector<std::string>& environment = {});

// The lines of a text without their line breaks.
std::vector<std::string> Lines(const std::string& text);

}  // namespace cvu::test
