// Lines for the person or script that ran vantrel-pack. A console gets the
// text as it is; a pipe or file gets UTF-8, so no name is lost to a code page.
#pragma once

#include <string>

#include "helpers/text.h"

namespace vantrel {

// The other way is FromUtf8 in helpers/text.h.
std::string ToUtf8(const std::wstring& text);

void PrintOut(const std::wstring& line);
void PrintError(const std::wstring& line);

}  // namespace vantrel
