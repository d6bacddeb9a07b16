// The INF as the system's own INF parser (setupapi) reads it: the same parser
// the INF installer uses on the target machine.
#pragma once

#include <string>

#include "pack/inf_rules.h"

namespace vantrel {

struct InfReading {
  bool parsed = false;
  std::wstring problem;  // when not parsed: what the parser said
  InfFacts facts;
};

// Throws PlatformFailure when setupapi cannot be bound or a read fails.
InfReading ReadInf(const std::wstring& infPath);

}  // namespace vantrel
