// How long each child of an install may run without ending and without a
// dialog waiting for an answer before it is ended with every process it
// started. Long enough for the largest real package, short enough that a
// deployment tool's time limit, set above the run's worst case, never ends
// a run first: then the run ends with its own code and event. The README
// gives the figures and their reasons ("A child that never ends").
#pragma once

#include <cstdint>

namespace vantrel {

// The INF installer (rundll32 with the system's INF engine).
constexpr std::uint64_t kInfInstallerBoundMinutes = 10;
// Each of the three 7-Zip runs: only the first reads the package, perhaps
// from a share that stops answering; the others read the work folder.
constexpr std::uint64_t kSevenZipBoundMinutes = 5;

}  // namespace vantrel
