// What a package will do on each platform, as the INF engine reads its INF:
// for an administrator to read before deploying it, and for tools to compare
// two versions of a package. The same reading as the builder's, the
// installer's pre-flight and its check after the INF installer.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "inf/directive_values.h"
#include "inf/inf_source.h"
#include "pack/detection_rules.h"
#include "pack/architecture_verdict.h"

namespace vantrel {

struct ViewedFile {
  std::wstring destination;  // the target's file name
  std::wstring source;       // its place in the package, relative to the INF
  DestinationDir dir;        // from [DestinationDirs]
  std::wstring folder;       // what that means on this machine
};

struct ViewedValue {
  std::wstring root, key, name;
  std::wstring type;  // REG_SZ, REG_DWORD, ... or "key" for a key alone
  bool checked = false;
  std::wstring unchecked;  // why the check does not test it
};

struct ViewedService {
  std::wstring name, binary;
  std::wstring start;  // "boot", "system", "auto", "demand", "disabled" or as written
  bool checked = false;
};

// A program an install starts, from the full path it is started from, and
// its command line.
struct ViewedCommand {
  std::wstring program;
  // Where a 32-bit bundle on 64-bit Windows starts it from instead (WoW64
  // redirects the system folder); empty where that is the same.
  std::wstring programOn64BitWindows;
  std::wstring commandLine;
};

struct PlatformView {
  InfArchitecture architecture = InfArchitecture::kX86;
  bool installs = false;
  std::wstring reason;  // why not, where it does not
  std::wstring section;
  std::vector<std::wstring> needs;
  std::vector<ViewedFile> files;
  std::vector<ViewedValue> values;
  std::vector<ViewedService> services;
  // What the engine does that the check after it cannot see.
  std::vector<std::wstring> unseen;
  // What an install runs, in order, for the example bundle folder.
  std::vector<ViewedCommand> commands;
};

struct PackageView {
  std::wstring inf;   // the INF's name
  std::wstring from;  // the folder or package it was read from
  // The package's file name as it lies beside the bundle: the one read, or
  // for a folder not yet packed, one named after its INF.
  std::wstring package;
  std::wstring provider;  // the INF's Provider; empty where it names none
  std::vector<PlatformView> platforms;
  // The receipt an install writes and the rules that detect it.
  DetectionView detection;
};

// `folderOf(list)`: the folder on this machine that the file-list section's
// files go to (`list` empty for "@file" copies). `holder` names what may lack
// sources in the reasons ("folder", "package").
PackageView ViewPackage(const InfSource& inf, const std::vector<ArchitectureVerdict>& verdicts,
                        const std::function<std::wstring(const std::wstring& list)>& folderOf,
                        const std::wstring& holder);

// The view as lines for an administrator (view_text.cc), and as one JSON
// object in UTF-8, for tools that compare packages (view_json.cc).
std::wstring ViewText(const PackageView& view);
std::string ViewJson(const PackageView& view);

}  // namespace vantrel
