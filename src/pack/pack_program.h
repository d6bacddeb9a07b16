// vantrel-pack from its arguments to its exit number: the help, a usage
// error, --show or a package built.
#pragma once

#include <string>
#include <vector>

#include "pack/pack_machine.h"

namespace vantrel {

// `arguments`: those after the program's name.
int RunPackProgram(PackMachine machine, const std::vector<std::wstring>& arguments);

}  // namespace vantrel
