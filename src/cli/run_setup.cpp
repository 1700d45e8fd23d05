#include "cli/run_setup.h"

#include <filesystem>

#include "cli/cli_upload_options.h"
#include "cli/data_folder.h"
#include "store/settings.h"

namespace cvu::cli {
namespace {

constexpr int kUsageStatus = 2;

TextBox& TemplateEditor(MainControls& main, int number) {
  if (number == 1) return main.CVU_MYV1();
  if (number == 2) return main.CVU_MYV2();
  return main.CVU_MYV3();
}

// --database names a file of the user's own; without it, the data folder's is made ready.
std::optional<int> FindDatabase(const CliOptions& options, std::string& path, std::ostream& err) {
  try {
    path = options.database.empty() ? PrepareOwnDataFolder() : options.database;
  } catch (const DataFolderError& e) {
    err << "corvane-upload: " << e.what() << '\n';
    return kUsageStatus;
  }
  std::error_code ec;
  if (std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  err << "corvane-upload: no database at " << path << '\n';
  return kUsageStatus;
}

std::optional<int> CheckTemplate(const CliOptions& options, CliProgram& program, std::ostream& err) {
  const int number = TemplateNumber(options.format);
  if (number == 0 || !TemplateEditor(program.main, number).text().empty()) return std::nullopt;
  err << "corvane-upload: --format " << TextKindName(options.format) << ": own-code template " << number << " (mYv_"
      << number << " in CVU_DATA) is empty\n";
  return kUsageStatus;
}

// The choices of the windowed program that make no sense here: no text is put on the
// clipboard when the group ends, since the texts go to standard output.
void SetMainChoices(const CliOptions& options, MainControls& main) {
  main.CVU_AutoAction().setItemIndex(0);
  if (options.anonymous) main.CVU_SendAnonymous().setChecked(true);
}

}  // namespace

std::optional<int> PrepareRun(const CliOptions& options, CliProgram& program, std::ostream& err) {
  AppContext& ctx = program.ctx;
  if (auto status = FindDatabase(options, ctx.databasePath, err)) return status;
  ApplyUploadOptions(options, program.options);
  ctx.upOptions = &program.options;
  // A file without CVU_DATA is told by the settings' own message (error 058). The stored
  // history is not read: the command only adds to it, and a long one would slow every start.
  ctx.history.FullHistoryKept = false;
  if (!LoadSettings(ctx, false)) return kUsageStatus;
  if (!ctx.db.tableExists("CVU_HISTORY")) {
    err << "corvane-upload: the database " << ctx.databasePath
        << " has no table CVU_HISTORY, so no upload could be recorded\n";
    return kUsageStatus;
  }
  SetMainChoices(options, program.main);
  return CheckTemplate(options, program, err);
}

}  // namespace cvu::cli
