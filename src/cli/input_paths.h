#pragma once
// The files to upload: the arguments, with "-" standing for the paths on standard input.
#include <istream>
#include <string>
#include <vector>

namespace cvu::cli {

// Replaces each "-" by the lines of in, one path a line (a trailing "\r" dropped, empty
// lines skipped); in is read once, so a second "-" adds nothing.
std::vector<std::string> ExpandInputPaths(const std::vector<std::string>& given, std::istream& in);

}  // namespace cvu::cli
