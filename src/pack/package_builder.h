// vantrel-pack <folder> <package.7z>: checks the folder with the engine's INF
// parser, then writes the cabinets and the archive.
#pragma once

#include "pack/pack_machine.h"
#include "pack/arguments.h"

namespace vantrel {

// Prints what was made and the detection rules for it, or refuses; returns
// the exit number. Throws PlatformFailure where the system fails it midway.
int BuildPackage(PackMachine& machine, const PackRequest& request);

}  // namespace vantrel
