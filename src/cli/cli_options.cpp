#include "cli/cli_options.h"

#include <functional>
#include <map>

#include "common/text.h"
#include "upload/upload_options.h"

namespace cvu::cli {
namespace {

// The entry's Latin words, letter case, blanks and hyphens aside: "Gaussian Blur ( ... )"
// gives "gaussianblur"; "Нет фильтра" has none and is called "none".
std::string FilterKey(const std::string& text) {
  const std::string latin = text.substr(0, text.find(" ("));
  std::string key;
  for (const char c : AsciiLower(latin)) {
    if (c != ' ' && c != '-' && c != '_') key += c;
  }
  return key;
}

int ParseQuality(const std::string& text) {
  long long value = 0;
  try {
    value = TextToInt(text);
  } catch (const ConvertError&) {
    throw UsageError("--quality: '" + text + "' is not a whole number");
  }
  if (value < 5 || value > 100) throw UsageError("--quality: " + text + " is outside 5..100");
  return static_cast<int>(value);
}

int ParseJobs(const std::string& text) {
  long long value = 0;
  try {
    value = TextToInt(text);
  } catch (const ConvertError&) {
    throw UsageError("--jobs: '" + text + "' is not a whole number");
  }
  if (value < 1 || value > kMaxJobs) throw UsageError("--jobs: " + text + " is outside 1.." + std::to_string(kMaxJobs));
  return static_cast<int>(value);
}

TextKind ParseFormat(const std::string& text) {
  const auto kind = TextKindByName(text);
  if (!kind)
    throw UsageError("--format: unknown text '" + text + "' (page, full, direct, thumb, html, bb, own1, own2, own3)");
  return *kind;
}

std::string ParseFilter(const std::string& text) {
  const auto value = FilterValueByName(text);
  if (!value) {
    throw UsageError("--filter: unknown filter '" + text +
                     "' (none, greyscale, negative, sepia, edgedetect, emboss, gaussian-blur, selective-blur, "
                     "mean-removal, or their values 2..10)");
  }
  return *value;
}

using ValueSetter = std::function<void(CliOptions&, const std::string&)>;
using FlagSetter = std::function<void(CliOptions&)>;

const std::map<std::string, ValueSetter>& ValueOptions() {
  static const std::map<std::string, ValueSetter> options = {
      {"--quality", [](CliOptions& o, const std::string& v) { o.quality = ParseQuality(v); }},
      {"--filter", [](CliOptions& o, const std::string& v) { o.filter = ParseFilter(v); }},
      {"--thumbtext", [](CliOptions& o, const std::string& v) { o.thumbtext = v; }},
      {"--title", [](CliOptions& o, const std::string& v) { o.title = v; }},
      {"--album", [](CliOptions& o, const std::string& v) { o.album = v; }},
      {"--format",
       [](CliOptions& o, const std::string& v) {
         o.format = ParseFormat(v);
         o.formatGiven = true;
       }},
      {"--jobs", [](CliOptions& o, const std::string& v) { o.jobs = ParseJobs(v); }},
      {"--database", [](CliOptions& o, const std::string& v) { o.database = v; }},
      {"--host", [](CliOptions& o, const std::string& v) { o.host = v; }},
  };
  return options;
}

const std::map<std::string, FlagSetter>& FlagOptions() {
  static const std::map<std::string, FlagSetter> options = {
      {"--publish", [](CliOptions& o) { o.publish = true; }},
      {"--no-convert", [](CliOptions& o) { o.noConvert = true; }},
      {"--convert", [](CliOptions& o) { o.convert = true; }},
      {"--anonymous", [](CliOptions& o) { o.anonymous = true; }},
      {"--json", [](CliOptions& o) { o.json = true; }},
      {"--help", [](CliOptions& o) { o.help = true; }},
      {"-h", [](CliOptions& o) { o.help = true; }},
      {"--version", [](CliOptions& o) { o.version = true; }},
  };
  return options;
}

// One option at args[i] ("--name VALUE", "--name=VALUE" or a flag); returns the index of
// the last argument it used.
std::size_t ParseOption(CliOptions& o, const std::vector<std::string>& args, std::size_t i) {
  const std::string& arg = args[i];
  const auto equals = arg.find('=');
  const std::string name = arg.substr(0, equals);
  if (const auto flag = FlagOptions().find(name); flag != FlagOptions().end()) {
    if (equals != std::string::npos) throw UsageError(name + " takes no value");
    flag->second(o);
    return i;
  }
  const auto option = ValueOptions().find(name);
  if (option == ValueOptions().end()) throw UsageError("unknown option " + name);
  if (equals != std::string::npos) {
    option->second(o, arg.substr(equals + 1));
    return i;
  }
  if (i + 1 >= args.size()) throw UsageError(name + " needs a value");
  option->second(o, args[i + 1]);
  return i + 1;
}

void CheckCombination(const CliOptions& o) {
  if (o.help || o.version) return;
  if (o.files.empty()) throw UsageError("no files given");
  if (o.noConvert && o.convert) throw UsageError("--no-convert and --convert exclude each other");
  if (o.json && o.formatGiven) throw UsageError("--json and --format exclude each other");
}

}  // namespace

std::optional<std::string> FilterValueByName(const std::string& name) {
  const std::string key = FilterKey(name);
  for (const auto& [text, value] : FilterEntries()) {
    if (name == value || name == text) return value;
    const std::string entryKey = FilterKey(text);
    if (!key.empty() && (key == entryKey || (value == "2" && key == "none"))) return value;
  }
  return std::nullopt;
}

CliOptions ParseCommandLine(const std::vector<std::string>& args) {
  CliOptions o;
  bool onlyFiles = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (onlyFiles || arg == "-" || arg.empty() || arg[0] != '-') {
      o.files.push_back(arg);
    } else if (arg == "--") {
      onlyFiles = true;
    } else {
      i = ParseOption(o, args, i);
    }
  }
  CheckCombination(o);
  return o;
}

bool SendsNoConversion(const CliOptions& options) {
  if (options.noConvert) return true;
  return !options.convert && !options.quality && !options.filter;
}

}  // namespace cvu::cli
