// How long the uninstall (rundll32 with the system's INF engine) may run
// without ending and without a dialog waiting for an answer before it is
// ended with every process it started, for the reasons the install's INF
// installer is; the figure's reasons are in the README ("A child that never
// ends").
#pragma once

#include <cstdint>

namespace vantrel {

constexpr std::uint64_t kUninstallBoundMinutes = 10;

}  // namespace vantrel
