// corvane-upload: the command-line uploader on the program's core.
#include <unistd.h>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/upload_command.h"

int main(int argc, char** argv) {
  try {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return cvu::cli::CorvaneUploadMain(args, {std::cin, std::cout, std::cerr, isatty(STDERR_FILENO) == 1});
  } catch (const std::exception& e) {
    std::cerr << "corvane-upload: " << e.what() << '\n';
    return 1;
  }
}
