// Whether an INF, as the system's INF parser read it, installs from a
// package: Vantrel expands the payload cabinet into the i386 subfolder beside
// the INF, and the INF installer waits for ever for a source file that is not
// there.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pack/exit_codes.h"
#include "pack/folder_plan.h"

namespace vantrel {

// One entry of a CopyFiles line of [DefaultInstall]: a section name, or
// "@file" for a single file.
struct CopyFilesEntry {
  std::wstring entry;
  bool sectionFound = false;
  std::vector<std::wstring> sources;  // the source name of each line of the section
};

struct SourceDisksFile {
  std::wstring name;
  std::wstring disk;
  std::wstring subfolder;
};

struct SourceDisk {
  std::wstring id;
  std::wstring path;
};

struct InfFacts {
  bool hasDefaultInstall = false;
  std::vector<CopyFilesEntry> copyFiles;
  std::vector<SourceDisksFile> sourceDisksFiles;
  std::vector<SourceDisk> sourceDisksNames;
};

struct InfVerdict {
  PackExit code = PackExit::kMade;
  std::vector<std::wstring> refusals;
  std::vector<std::wstring> warnings;
};

// The INF parser's own error codes (0xE0000000 and up), which the system's
// message table does not know: their names from setupapi.h, or empty.
std::wstring InfParserErrorName(std::uint32_t code);

// A missing source file decides the code (4) over the INF's other faults (3),
// since it is the one that hangs the target; every fault is listed.
InfVerdict CheckInf(const InfFacts& facts, const FolderPlan& plan);

}  // namespace vantrel
