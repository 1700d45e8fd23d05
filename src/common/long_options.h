#pragma once
// A command line read with getopt_long: "--name VALUE", "--name=VALUE", flags, an
// unambiguous prefix of a name, other arguments kept in order and every argument after
// "--" taken as given.
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace cvu {

// A command line that cannot be run; what() says why, for the user.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct LongOption {
  std::string name;  // without the leading "--"
  bool takesValue = false;
  std::function<void(const std::string& value)> set;  // a flag gets an empty value
  char shortName = 0;                                 // e.g. 'h' for "-h"; flags only
};

// Calls each option's set and onArgument for each other argument, in the order given.
// Throws UsageError for an unknown or ambiguous option, a missing value or a value given
// to a flag (or whatever a set or onArgument throws). Not for two threads at once:
// getopt_long keeps its place in globals.
void ParseLongOptions(const std::vector<std::string>& args, const std::vector<LongOption>& options,
                      const std::function<void(const std::string& argument)>& onArgument);

}  // namespace cvu
