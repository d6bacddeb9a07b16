#include "pack/folder_plan.h"

#include <algorithm>

#include "base/text.h"

namespace vantrel {

FolderPlan PlanFolder(const std::vector<TreeItem>& entries) {
  FolderPlan plan;
  std::vector<std::wstring> infs;
  for (const TreeItem& entry : entries) {
    if (entry.link) {
      return {L"", {}, L"the folder holds a link, \"" + entry.path + L"\"; a package holds files "
                       L"and folders only"};
    }
    if (entry.folder) continue;
    if (entry.path.find(L'\\') == std::wstring::npos && WildcardMatch(L"*.inf", entry.path)) {
      infs.push_back(entry.path);
    } else {
      plan.payload.push_back(entry.path);
    }
  }
  if (infs.empty() && plan.payload.empty()) {
    plan.problem = L"the folder is empty";
  } else if (infs.empty()) {
    plan.problem = L"the folder holds no INF file";
  } else if (infs.size() > 1) {
    std::sort(infs.begin(), infs.end());
    plan.problem =
        L"the folder holds several INF files (" + Join(infs, L", ") + L"); a package has one";
  } else {
    plan.inf = infs[0];
  }
  std::sort(plan.payload.begin(), plan.payload.end());
  return plan;
}

std::wstring CompressedInfName(const std::wstring& infName) {
  return infName.substr(0, infName.size() - 1) + L"_";
}

std::wstring CabinetName(const std::wstring& folderPath) {
  std::wstring path = folderPath;
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  const std::size_t slash = path.find_last_of(L"\\/:");
  std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  std::replace(name.begin(), name.end(), L' ', L'_');
  return (name.empty() ? L"payload" : name) + L".cab";
}

}  // namespace vantrel
