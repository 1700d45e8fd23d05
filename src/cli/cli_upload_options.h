#pragma once
// The command line's upload options put into the upload options window's controls, so
// the upload worker reads them there as it reads the window's.
#include "cli/cli_options.h"
#include "common/upoptions_controls.h"

namespace cvu::cli {

// Starts from the window's initial state, then sets what the command line chose.
void ApplyUploadOptions(const CliOptions& options, UpOptionsControls& window);

}  // namespace cvu::cli
