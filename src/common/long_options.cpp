#include "common/long_options.h"

#include <getopt.h>

namespace cvu {
namespace {

// The codes getopt_long returns for the options: past every short option's character.
constexpr int kFirstCode = 256;

std::vector<option> OptionTable(const std::vector<LongOption>& options) {
  std::vector<option> table;
  for (std::size_t i = 0; i < options.size(); ++i) {
    table.push_back({options[i].name.c_str(), options[i].takesValue ? required_argument : no_argument, nullptr,
                     kFirstCode + static_cast<int>(i)});
  }
  table.push_back({nullptr, 0, nullptr, 0});
  return table;
}

// "-" first: other arguments come back in place, as code 1; ":" next: getopt_long prints
// nothing and tells a missing value apart.
std::string ShortOptions(const std::vector<LongOption>& options) {
  std::string text = "-:";
  for (const LongOption& o : options) {
    if (o.shortName != 0) text += o.shortName;
  }
  return text;
}

const LongOption* OptionByCode(const std::vector<LongOption>& options, int code) {
  if (code >= kFirstCode && code - kFirstCode < static_cast<int>(options.size())) return &options[code - kFirstCode];
  for (const LongOption& o : options) {
    if (code != 0 && o.shortName == code) return &o;
  }
  return nullptr;
}

// An option getopt_long did not recognise, as typed at `arg`: unknown, or the prefix of
// more than one name.
std::string UnknownOption(const std::vector<LongOption>& options, const std::string& arg) {
  const std::string typed = arg.substr(0, arg.find('='));
  std::string matches;
  for (const LongOption& o : options) {
    if (("--" + o.name).starts_with(typed)) matches += (matches.empty() ? "--" : ", --") + o.name;
  }
  if (typed.starts_with("--") && matches.find(',') != std::string::npos)
    return "option " + typed + " is ambiguous (" + matches + ")";
  return "unknown option " + typed;
}

[[noreturn]] void Refuse(const std::vector<LongOption>& options, int code, const std::string& arg) {
  const LongOption* named = OptionByCode(options, optopt);
  if (code == ':' && named) throw UsageError("--" + named->name + " needs a value");
  if (named) throw UsageError("--" + named->name + " takes no value");
  if (optopt != 0) throw UsageError(std::string("unknown option -") + static_cast<char>(optopt));
  throw UsageError(UnknownOption(options, arg));
}

}  // namespace

void ParseLongOptions(const std::vector<std::string>& args, const std::vector<LongOption>& options,
                      const std::function<void(const std::string&)>& onArgument) {
  std::vector<std::string> copies = {"program"};
  copies.insert(copies.end(), args.begin(), args.end());
  std::vector<char*> argv;
  argv.reserve(copies.size() + 1);
  for (std::string& arg : copies) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(copies.size());
  const std::vector<option> table = OptionTable(options);
  const std::string shortOptions = ShortOptions(options);

  optind = 0;  // getopt_long starts afresh
  int code = 0;
  while ((code = getopt_long(argc, argv.data(), shortOptions.c_str(), table.data(), nullptr)) != -1) {
    if (code == 1) {
      onArgument(optarg);
    } else if (const LongOption* o = code == '?' || code == ':' ? nullptr : OptionByCode(options, code)) {
      o->set(optarg != nullptr ? optarg : "");
    } else {
      Refuse(options, code, argv[optind - 1]);
    }
  }
  for (int i = optind; i < argc; ++i) onArgument(argv[i]);  // after "--"
}

}  // namespace cvu
