#pragma once
// Before any upload: the database opened and read as the windowed program reads it at
// start, the upload options and the account choice put in place.
#include <optional>
#include <ostream>
#include <string>

#include "cli/cli_options.h"
#include "cli/cli_program.h"

namespace cvu::cli {

// Loads the settings and the history from the database and prepares the controls.
// Returns nothing when the run can go on, otherwise the exit status (the reason has been
// written to err): no data folder, a missing file, a file without CVU_DATA or CVU_HISTORY, an own-code
// format whose template is empty.
std::optional<int> PrepareRun(const CliOptions& options, CliProgram& program, std::ostream& err);

}  // namespace cvu::cli
