// One run of zav-import over its inputs.
#pragma once

#include "options.h"

namespace zav::cli {

// Converts the inputs as the options say and returns the exit status: 0, 1
// when a diagnostic reached the --fail-on severity, 2 when an input could not
// be read or an output not written.
int RunConversion(const Options& options);

}  // namespace zav::cli
