// A tree of files and folders walked without following links, at any path
// length: what a package unpacked into the work folder is checked and
// cleared with, and what the package builder lists a folder with.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace vantrel {

// GetFullPathNameW: a relative path made absolute against the current
// folder; no trailing separator but a drive root's.
std::wstring FullPath(const std::wstring& path);

TreeSurvey SurveyTreeAt(const std::wstring& path);

// Every entry below the folder, a folder before what it holds; a link is
// listed, never entered. Throws PlatformFailure when part of it cannot be
// read.
std::vector<TreeItem> ListTreeAt(const std::wstring& path);
void DeleteWholeTree(const std::wstring& path);

}  // namespace vantrel
