// What the INF engine will do with an INF's DefaultInstall on one platform,
// as Microsoft's INF documentation defines it: which install section it
// takes, which files its CopyFiles copy, and where each of those files must
// be, relative to the INF, for the engine to find it without asking for a
// disk. One reading for the package builder and for the installer's check
// before it starts the INF installer.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "inf/inf_source.h"

namespace vantrel {

// "x86" or "amd64", as the decorations spell them.
std::wstring ArchitectureName(InfArchitecture architecture);

// One file that a CopyFiles of the chosen section copies, and its source.
struct SourceFile {
  std::wstring name;  // the source file name
  // Its folder relative to the INF's folder ("" beside the INF, "i386",
  // "i386\sub"), separators "\" and case as the INF spells it.
  std::wstring folder;
  // The place lies outside the package: an absolute path, a drive, a UNC
  // path or ".." climbing out of the INF's folder.
  bool outside = false;
  // The place as written in the INF, for messages about an outside one.
  std::wstring written;
};

struct InstallPlan {
  // The section the engine takes; empty where the INF has none for the
  // platform.
  std::wstring section;
  // The names looked for, in the engine's order.
  std::vector<std::wstring> tried;
  // The Needs sections followed (those this INF holds; the others belong to
  // the INFs named by Include, which the system supplies).
  std::vector<std::wstring> needs;
  // Every file copied, each once, in the order the INF names them.
  std::vector<SourceFile> sources;
  // CopyFiles entries naming a section the INF lacks.
  std::vector<std::wstring> missingSections;
  // Every copy the engine queues, in the INF's order: a source copied to
  // two names is one source and two copies.
  struct Copy {
    std::wstring list;         // the file-list section; empty for "@file"
    std::wstring destination;  // the target's file name
    std::size_t source = 0;    // index into sources
  };
  std::vector<Copy> copies;
};

// The engine's choice of section for `base` ("DefaultInstall"): on x86
// base.NTx86, then base.NT, then base; on amd64 base.NTamd64, base.NT, base.
InstallPlan PlanInstall(const InfSource& inf, InfArchitecture architecture,
                        const std::wstring& base = L"DefaultInstall");

// "[a], [b]": section names as messages show them.
std::wstring SectionList(const std::vector<std::wstring>& names);

// The file's path relative to the INF's folder.
std::wstring PlacePath(const SourceFile& file);

// The places of the plan's sources that `present` does not find, in the
// INF's order. Places outside the package are the engine's business: it may
// well find them on the target.
std::vector<std::wstring> LackingSources(const InstallPlan& plan,
                                         const std::function<bool(const SourceFile&)>& present);

// Whether two places name the same folder ("I386", ".\i386\" and "i386"
// do), as the file system compares them.
bool SameFolder(const std::wstring& a, const std::wstring& b);

}  // namespace vantrel
