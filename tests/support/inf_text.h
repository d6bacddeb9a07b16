// An INF given as text, read the way the system's INF parser reads one, for
// the unit tests of the rules that take an INF apart: sections by name
// regardless of case, ";" comments, "key = a, b" lines, quotes around a
// field, %name% tokens from [Strings].
#pragma once

#include <map>
#include <string>
#include <vector>

#include "inf/inf_source.h"

namespace vantrel {

class InfText : public InfSource {
 public:
  explicit InfText(const std::wstring& text);
  bool HasSection(const std::wstring& section) const override;
  std::vector<InfLine> Lines(const std::wstring& section) const override;
  // Every file list goes to the system folder.
  std::wstring TargetFolder(const std::wstring&) const override { return L"C:\\WINDOWS\\system32"; }

 private:
  std::map<std::wstring, std::vector<InfLine>> sections_;  // by lowered name
};

}  // namespace vantrel
