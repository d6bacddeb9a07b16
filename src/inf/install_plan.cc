#include "inf/install_plan.h"

#include <algorithm>
#include <map>

#include "base/text.h"

namespace vantrel {

namespace {

// A folder relative to the INF's, its parts as written; "outside" where it
// names a drive, a share or climbs above the INF's folder.
struct RelativeFolder {
  std::vector<std::wstring> parts;
  bool outside = false;
};

RelativeFolder Parse(const std::wstring& written) {
  RelativeFolder folder;
  // "\\server\share" and "C:\..." are places of their own. A single leading
  // "\" means the root of the installation medium: the INF's folder.
  if (written.compare(0, 2, L"\\\\") == 0 || written.compare(0, 2, L"//") == 0 ||
      written.find(L':') != std::wstring::npos) {
    folder.outside = true;
    return folder;
  }
  std::wstring path = written;
  std::replace(path.begin(), path.end(), L'/', L'\\');
  for (const std::wstring& part : Split(path, L'\\')) {
    if (part == L"..") {
      if (folder.parts.empty()) folder.outside = true;
      else folder.parts.pop_back();
    } else if (!part.empty() && part != L".") {
      folder.parts.push_back(part);
    }
  }
  return folder;
}

// The first line whose key is `key`, decorated section first: the entries of
// a platform's [SourceDisksFiles.x86] and [SourceDisksNames.x86] take
// precedence over those of the undecorated sections.
bool FindEntry(const InfSource& inf, const std::wstring& section, InfArchitecture architecture,
               const std::wstring& key, InfLine& found) {
  return FindLine(inf, section + L"." + ArchitectureName(architecture), key, found) ||
         FindLine(inf, section, key, found);
}

// Where the engine looks for a source file: the path of its disk in
// [SourceDisksNames] joined with its own subfolder in [SourceDisksFiles];
// beside the INF where no entry names it.
SourceFile Locate(const InfSource& inf, InfArchitecture architecture, const std::wstring& name) {
  SourceFile file;
  file.name = name;
  InfLine entry;
  if (!FindEntry(inf, L"SourceDisksFiles", architecture, name, entry)) return file;
  // filename = diskid[,[subdir][,size]]
  std::wstring diskPath;
  InfLine disk;
  // diskid = description[,[tag-or-cab-file],[unused],[path][,flags][,tag-file]]
  if (FindEntry(inf, L"SourceDisksNames", architecture, entry.Field(1), disk)) {
    diskPath = disk.Field(4);
  }
  const std::wstring subfolder = entry.Field(2);
  file.written = diskPath.empty()    ? subfolder
                 : subfolder.empty() ? diskPath
                                     : diskPath + L"\\" + subfolder;
  // A subfolder is relative to the disk's path; a disk path that is a
  // place of its own takes the subfolder with it, as the joined path shows.
  const RelativeFolder joined = Parse(file.written);
  file.outside = joined.outside;
  if (!file.outside) file.folder = Join(joined.parts, L"\\");
  return file;
}

}  // namespace

std::wstring ArchitectureName(InfArchitecture architecture) {
  return architecture == InfArchitecture::kAmd64 ? L"amd64" : L"x86";
}

std::wstring SectionList(const std::vector<std::wstring>& names) {
  return names.empty() ? std::wstring() : L"[" + Join(names, L"], [") + L"]";
}

std::wstring PlacePath(const SourceFile& file) {
  return file.folder.empty() ? file.name : file.folder + L"\\" + file.name;
}

bool SameFolder(const std::wstring& a, const std::wstring& b) {
  const RelativeFolder first = Parse(a);
  const RelativeFolder second = Parse(b);
  return !first.outside && !second.outside &&
         LowerAscii(Join(first.parts, L"\\")) == LowerAscii(Join(second.parts, L"\\"));
}

InstallPlan PlanInstall(const InfSource& inf, InfArchitecture architecture,
                        const std::wstring& base) {
  InstallPlan plan;
  plan.tried = {base + (architecture == InfArchitecture::kAmd64 ? L".NTamd64" : L".NTx86"),
                base + L".NT", base};
  const auto chosen = std::find_if(plan.tried.begin(), plan.tried.end(),
                                   [&](const std::wstring& name) { return inf.HasSection(name); });
  if (chosen == plan.tried.end()) return plan;
  plan.section = *chosen;

  const std::vector<std::wstring> sections = ProcessedSections(inf, plan.section);
  plan.needs.assign(sections.begin() + 1, sections.end());

  std::map<std::wstring, std::size_t> copied;  // lowered source name -> index
  const auto copy = [&](const std::wstring& list, const std::wstring& destination,
                        const std::wstring& name) {
    if (name.empty()) return;
    const auto found = copied.emplace(LowerAscii(name), plan.sources.size());
    if (found.second) plan.sources.push_back(Locate(inf, architecture, name));
    plan.copies.push_back({list, destination, found.first->second});
  };
  for (const std::wstring& section : sections) {
    for (const std::wstring& entry : DirectiveFields(inf, section, L"CopyFiles")) {
      // "@file" copies that one file; anything else names a file-list
      // section: destination[,source[,unused[,flags]]], the source name
      // being the destination's where it is left out.
      if (entry[0] == L'@') {
        copy(std::wstring(), entry.substr(1), entry.substr(1));
      } else if (!inf.HasSection(entry)) {
        plan.missingSections.push_back(entry);
      } else {
        for (const InfLine& file : inf.Lines(entry)) {
          copy(entry, file.Field(1), file.Field(2).empty() ? file.Field(1) : file.Field(2));
        }
      }
    }
  }
  return plan;
}

std::vector<std::wstring> LackingSources(const InstallPlan& plan,
                                         const std::function<bool(const SourceFile&)>& present) {
  std::vector<std::wstring> lacking;
  for (const SourceFile& file : plan.sources) {
    if (!file.outside && !present(file)) lacking.push_back(PlacePath(file));
  }
  return lacking;
}

}  // namespace vantrel
