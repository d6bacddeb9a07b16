// The package's view as one JSON object, for tools that compare packages.
#pragma once

#include <string>

#include "pack/package_view.h"

namespace vantrel {

// UTF-8 text.
std::string ViewJson(const PackageView& view);

}  // namespace vantrel
