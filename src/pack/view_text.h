// The package's view as lines for an administrator.
#pragma once

#include <string>

#include "pack/package_view.h"

namespace vantrel {

std::wstring ViewText(const PackageView& view);

}  // namespace vantrel
