// The files an INF install section copies, as setupapi queues them for the
// section, and how each target stands against its source now.
#pragma once

#include <string>
#include <vector>

#include "inf/section_effects.h"

namespace vantrel {

// The section's copies in a queue of its own that is never carried out.
// Throws PlatformFailure when setupapi cannot read or queue the section.
std::vector<CopiedFile> QueuedCopiesOfSection(const std::wstring& infPath,
                                              const std::wstring& section);

}  // namespace vantrel
