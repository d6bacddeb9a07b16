// A tree of files and folders walked without following links, at any path
// length: what a package unpacked into the work folder is checked and
// cleared with.
#pragma once

#include <string>

#include "platform/platform.h"

namespace vantrel {

// GetFullPathNameW: a relative path made absolute against the current
// folder; no trailing separator but a drive root's.
std::wstring FullPath(const std::wstring& path);

TreeSurvey SurveyTreeAt(const std::wstring& path);
void DeleteWholeTree(const std::wstring& path);

}  // namespace vantrel
