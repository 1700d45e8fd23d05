#pragma once
// The texts of --help and --version.
#include <string>

namespace cvu::cli {

std::string UsageText();
// "corvane-upload 5.8".
std::string VersionLine();

}  // namespace cvu::cli
