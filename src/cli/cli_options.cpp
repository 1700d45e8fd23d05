#include "cli/cli_options.h"

#include "common/long_options.h"
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

// Every option: its name, whether it takes a value, and where the value goes.
std::vector<LongOption> Options(CliOptions& o) {
  const auto flag = [](bool& field) { return [&field](const std::string&) { field = true; }; };
  const auto text = [](std::string& field) { return [&field](const std::string& v) { field = v; }; };
  return {
      {"quality", true, [&o](const std::string& v) { o.quality = ParseQuality(v); }},
      {"filter", true, [&o](const std::string& v) { o.filter = ParseFilter(v); }},
      {"thumbtext", true, text(o.thumbtext)},
      {"title", true, text(o.title)},
      {"album", true, [&o](const std::string& v) { o.album = v; }},
      {"publish", false, flag(o.publish)},
      {"no-convert", false, flag(o.noConvert)},
      {"convert", false, flag(o.convert)},
      {"anonymous", false, flag(o.anonymous)},
      {"format", true,
       [&o](const std::string& v) {
         o.format = ParseFormat(v);
         o.formatGiven = true;
       }},
      {"json", false, flag(o.json)},
      {"jobs", true, [&o](const std::string& v) { o.jobs = ParseJobs(v); }},
      {"database", true, text(o.database)},
      {"data-folder", false, flag(o.dataFolder)},
      {"host", true, text(o.host)},
      {"help", false, flag(o.help), 'h'},
      {"version", false, flag(o.version)},
  };
}

void CheckCombination(const CliOptions& o) {
  if (o.help || o.version || o.dataFolder) return;
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
  ParseLongOptions(args, Options(o), [&o](const std::string& file) { o.files.push_back(file); });
  CheckCombination(o);
  return o;
}

bool SendsNoConversion(const CliOptions& options) {
  if (options.noConvert) return true;
  return !options.convert && !options.quality && !options.filter;
}

}  // namespace cvu::cli
