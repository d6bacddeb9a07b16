// vantrel-pack --show: what a folder or a package will do on each platform,
// read without changing anything on the machine.
#pragma once

#include "pack/pack_machine.h"
#include "pack/arguments.h"

namespace vantrel {

// Prints the view (lines, or one JSON object) and returns the exit code;
// refusals go to the error stream as the builder's do.
int ShowPackage(PackMachine& machine, const PackRequest& request);

}  // namespace vantrel
