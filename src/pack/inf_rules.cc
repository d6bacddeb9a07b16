#include "pack/inf_rules.h"

#include <set>

#include "helpers/text.h"

namespace vantrel {

namespace {

// "i386", ".\i386" and "\i386\" all name the subfolder beside the INF.
bool IsI386(std::wstring path) {
  if (path.compare(0, 2, L".\\") == 0) path.erase(0, 2);
  while (!path.empty() && path.front() == L'\\') path.erase(0, 1);
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return LowerAscii(path) == L"i386";
}

class NameSet {
 public:
  void Add(const std::wstring& name) { names_.insert(LowerAscii(name)); }
  bool Has(const std::wstring& name) const { return names_.count(LowerAscii(name)) != 0; }

 private:
  std::set<std::wstring> names_;
};

}  // namespace

std::wstring InfParserErrorName(std::uint32_t code) {
  switch (code) {
    case 0xE0000000: return L"ERROR_EXPECTED_SECTION_NAME";
    case 0xE0000001: return L"ERROR_BAD_SECTION_NAME_LINE";
    case 0xE0000002: return L"ERROR_SECTION_NAME_TOO_LONG";
    case 0xE0000003: return L"ERROR_GENERAL_SYNTAX";
    case 0xE0000100: return L"ERROR_WRONG_INF_STYLE";
    case 0xE0000101: return L"ERROR_SECTION_NOT_FOUND";
    case 0xE0000102: return L"ERROR_LINE_NOT_FOUND";
    default: return std::wstring();
  }
}

InfVerdict CheckInf(const InfFacts& facts, const FolderPlan& plan) {
  InfVerdict verdict;
  std::vector<std::wstring> missing;
  if (!facts.hasDefaultInstall) verdict.refusals.push_back(L"the INF has no [DefaultInstall] section");

  NameSet listed;
  for (const SourceDisksFile& file : facts.sourceDisksFiles) listed.Add(file.name);
  // In the order the INF names them, each once.
  std::vector<std::wstring> named;
  NameSet seen;
  auto name = [&](const std::wstring& file) {
    if (!seen.Has(file)) named.push_back(file);
    seen.Add(file);
  };

  for (const CopyFilesEntry& copy : facts.copyFiles) {
    std::vector<std::wstring> sources = copy.sources;
    if (!copy.entry.empty() && copy.entry[0] == L'@') {
      sources = {copy.entry.substr(1)};
    } else if (!copy.sectionFound) {
      verdict.refusals.push_back(L"CopyFiles of [DefaultInstall] names the section [" + copy.entry +
                                 L"], which the INF lacks");
    }
    for (const std::wstring& source : sources) {
      name(source);
      if (!listed.Has(source)) {
        verdict.refusals.push_back(L"\"" + source +
                                   L"\" is copied but [SourceDisksFiles] does not list it, so the "
                                   L"installer would look for it beside the INF, not in i386");
      }
    }
  }

  NameSet disksChecked;
  for (const SourceDisksFile& file : facts.sourceDisksFiles) {
    name(file.name);
    if (!file.subfolder.empty()) {
      verdict.refusals.push_back(L"[SourceDisksFiles] puts \"" + file.name + L"\" in the subfolder \"" +
                                 file.subfolder + L"\"; the cabinet holds bare names");
    }
    if (disksChecked.Has(file.disk)) continue;
    disksChecked.Add(file.disk);
    const SourceDisk* disk = nullptr;
    for (const SourceDisk& candidate : facts.sourceDisksNames) {
      if (LowerAscii(candidate.id) == LowerAscii(file.disk)) disk = &candidate;
    }
    if (disk == nullptr) {
      verdict.refusals.push_back(L"[SourceDisksFiles] puts \"" + file.name + L"\" on disk " + file.disk +
                                 L", which [SourceDisksNames] does not list");
    } else if (!IsI386(disk->path)) {
      verdict.refusals.push_back(L"disk " + disk->id + L" of [SourceDisksNames] has the path \"" +
                                 disk->path + L"\"; it must be i386, where Vantrel expands the cabinet");
    }
  }

  NameSet present;
  for (const std::wstring& file : plan.payload) present.Add(file);
  for (const std::wstring& file : named) {
    if (!present.Has(file)) missing.push_back(file);
  }
  for (const std::wstring& file : missing) {
    verdict.refusals.push_back(L"the INF names the source file \"" + file +
                               L"\", which the folder lacks");
  }
  for (const std::wstring& file : plan.payload) {
    if (!seen.Has(file)) {
      verdict.warnings.push_back(L"\"" + file + L"\" is in the folder but the INF never names it; "
                                 L"it goes into the cabinet all the same");
    }
  }

  if (!missing.empty()) {
    verdict.code = PackExit::kMissingSource;
  } else if (!verdict.refusals.empty()) {
    verdict.code = PackExit::kInfRefused;
  }
  return verdict;
}

}  // namespace vantrel
